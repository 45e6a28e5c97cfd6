#include "search/catalogue_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/record.h"
#include "search/initials.h"
#include "search/text.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/scripted_pump.h"
#include "tests/support/reference.h"

namespace quenstrel {
namespace {

using Texts = std::vector<std::string>;

std::string Line(const std::string& mnemonic, int spaces, const std::string& description) {
  return mnemonic + std::string(static_cast<std::size_t>(spaces), ' ') + description + "\r\n";
}

TEST(SearchCatalogue, MatchesFoldedFieldsAndShowsStoredOnes) {
  const Texts records = {
      "MOV     传送字或字节.  ", "NEG     求反(以    0 减之).  ", "FSUBP  ",
      "ABCDEFGHIJKLMNO 十五.  ", "ABCDEFGHIJKLMNOP 十六.  ",      "XCHG    交换寄存器.  ",
  };
  struct Case {
    std::string query;
    int field;
    std::string expected;
  };
  const Case cases[] = {
      {"MOV", 1, Line("MOV", 12, "传送字或字节.")},
      {"cszhzj", 2, Line("MOV", 12, "传送字或字节.")},
      {"传送", 2, ""},  // records are folded: the characters are gone
      {"qf(y0jz)", 2, Line("NEG", 12, "求反(以0减之).")},
      {"", 1, ""},
      {"", 2, ""},
      {"MOV ", 1, ""},
      {"y 0", 2, ""},
      {"FSUBP", 1, Line("FSUBP", 10, "")},
      {"FSUBP", 2, ""},  // an empty description is no copy of the mnemonic
      // 15 bytes or more: no padding, nothing cut.
      {"NO", 1, Line("ABCDEFGHIJKLMNO", 0, "十五.") + Line("ABCDEFGHIJKLMNOP", 0, "十六.")},
      {"jcq", 2, Line("XCHG", 11, "交换寄存器.")},
      {"JCQ", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query + " in field " + std::to_string(c.field));
    ScriptedPump pump;
    EXPECT_EQ(SearchCatalogue(records, c.query, c.field, pump), c.expected);
    EXPECT_EQ(pump.calls, static_cast<int>(records.size()));
  }
}

TEST(SearchCatalogue, AnEmptyCatalogueNeverPumps) {
  ScriptedPump pump;
  EXPECT_EQ(SearchCatalogue({}, "MOV", 1, pump), "");
  EXPECT_EQ(pump.calls, 0);
}

TEST(SearchCatalogue, StopsAtTheEndOfACatalogueThatShrankDuringThePass) {
  Texts records = {"A  1", "AB  2", "ABC  3", "ABCD  4"};
  ScriptedPump pump;
  pump.onCall = [&](int call) {
    if (call == 2) records = {"AX  x", "AY  y", "AZ  z"};  // a reload with fewer records
  };
  EXPECT_EQ(SearchCatalogue(records, "A", 1, pump),
            Line("A", 14, "1") + Line("AB", 13, "2") + Line("AZ", 13, "z"));
  EXPECT_EQ(pump.calls, 3);

  records = {"A  1", "AB  2", "ABC  3"};
  pump = ScriptedPump();
  pump.onCall = [&](int call) {
    if (call == 1) records.clear();
  };
  EXPECT_EQ(SearchCatalogue(records, "A", 1, pump), Line("A", 14, "1"));
}

TEST(SearchCatalogue, KeepsTheCountTakenAtTheStartWhenTheCatalogueGrows) {
  Texts records = {"A  1", "B  2"};
  ScriptedPump pump;
  pump.onCall = [&](int call) {
    if (call == 1) records = {"A  1", "AB  2", "AC  3", "AD  4"};
  };
  EXPECT_EQ(SearchCatalogue(records, "A", 1, pump), Line("A", 14, "1") + Line("AB", 13, "2"));
}

TEST(SearchCatalogue, ANestedSearchFinishesWithItsOwnResult) {
  const Texts records = {"MOV  a", "MOVS  b", "XCHG  c"};
  ScriptedPump pump;
  std::string nested;
  pump.onCall = [&](int call) {
    if (call != 1) return;
    ScriptedPump inner;
    nested = SearchCatalogue(records, "XCHG", 1, inner);
  };
  EXPECT_EQ(SearchCatalogue(records, "MOV", 1, pump), Line("MOV", 12, "a") + Line("MOVS", 11, "b"));
  EXPECT_EQ(nested, Line("XCHG", 11, "c"));
}

TEST(SearchCatalogue, AgreesWithTheStepByStepSearchOnRandomRecords) {
  std::mt19937 rng(11);
  // Spaces, ASCII letters of both cases, characters with and without an
  // initial, and lead bytes before a space or at the end of a record.
  const std::vector<std::string> pieces = {" ",     "  ",       "A",        "b",   "X",
                                           "寄",    "存",       "器",       "，",  "\xB0",
                                           "\xB0 ", "\x81\x40", "\xD8\xAD", "jcq", "MOV"};
  auto randomText = [&] {
    std::string text;
    for (int n = static_cast<int>(rng() % 9); n > 0; --n) text += pieces[rng() % pieces.size()];
    return text;
  };
  Texts records;
  for (int k = 0; k < 400; ++k) records.push_back(randomText());
  for (int k = 0; k < 400; ++k) {
    // Queries cut from folded records, so that many of them match.
    std::string query = FoldInitials(records[rng() % records.size()]);
    const std::size_t from = query.empty() ? 0 : rng() % query.size();
    query = query.substr(from, 1 + rng() % 4);
    for (int field : {1, 2}) {
      SCOPED_TRACE(query + " in field " + std::to_string(field));
      ScriptedPump pump;
      ASSERT_EQ(SearchCatalogue(records, query, field, pump),
                reference::Search(records, query, field));
    }
  }
}

// Facts of the catalogue a first run writes out.
class BuiltInSearchTest : public testing::Test {
 protected:
  void SetUp() override {
    FakeFileSystem fs;
    FakeCatalogueView view;
    LoadCatalogue(catalogue, fs, view);
  }
  std::string Search(const std::string& query, int field) {
    ScriptedPump pump;
    return SearchCatalogue(catalogue.records, query, field, pump);
  }
  Texts Mnemonics(const std::string& result) {
    Texts mnemonics;
    for (const std::string& line : CutLines(result)) mnemonics.push_back(TakeField(line, " ", 1));
    return mnemonics;
  }
  Catalogue catalogue;
};

TEST_F(BuiltInSearchTest, MnemonicQueries) {
  EXPECT_EQ(Search("MOVS", 1),
            Line("MOVS", 11, "串传送.(MOVSB传送字符.MOVSW传送字.MOVSD传送双字.)") +
                Line("MOVSX", 10, "先符号扩展,再传送."));
  EXPECT_EQ(Mnemonics(Search("XCHG", 1)), (Texts{"CMPXCHG", "XCHG"}));
  EXPECT_EQ(Mnemonics(Search("FSTP", 1)), (Texts{"FSTP", "FSTP", "FSTP"}));
  EXPECT_EQ(Search("FSUBP", 1), Line("FSUBP", 10, ""));
  EXPECT_EQ(Search("movs", 1), "");  // the caller upper-cases what is typed
}

TEST_F(BuiltInSearchTest, DescriptionQueriesByInitials) {
  EXPECT_EQ(Mnemonics(Search("jcq", 2)), (Texts{"ASSUME", "BSWAP", "LAHF", "OUT", "SAHF", "XCHG"}));
  EXPECT_EQ(Search("JCQ", 2), "");
  EXPECT_EQ(Mnemonics(Search("bAX", 2)), (Texts{"CWD", "CWDE", "PUSHA"}));
  EXPECT_EQ(Search(FoldInitials("寄存器"), 2), Search("jcq", 2));
  // A result line never holds a space in its description.
  for (const std::string& line : CutLines(Search("j", 2))) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.find(' ', line.size() > 15 ? 15 : line.size()), std::string::npos);
  }
}

}  // namespace
}  // namespace quenstrel
