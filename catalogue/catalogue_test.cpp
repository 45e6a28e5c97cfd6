#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/record.h"
#include "resources/resources.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"

namespace quenstrel {
namespace {

using Texts = std::vector<std::string>;

class LoadCatalogueTest : public testing::Test {
 protected:
  std::string Path() { return CatalogueFilePath(fs); }
  void Load() { LoadCatalogue(catalogue, fs, view); }
  // The mnemonics of the records, which the list must show.
  Texts Mnemonics() {
    Texts result;
    for (const std::string& r : catalogue.records) result.push_back(TakeField(r, " ", 1));
    return result;
  }

  FakeFileSystem fs;
  FakeCatalogueView view;
  Catalogue catalogue;
};

TEST_F(LoadCatalogueTest, FirstRunListsTheBuiltInRecordsSortedAndWritesThem) {
  Load();
  Texts builtIn = CutLines(BuiltInCatalogue());
  std::sort(builtIn.begin(), builtIn.end());
  EXPECT_EQ(catalogue.records, builtIn);
  EXPECT_EQ(catalogue.listedCount, 223);
  EXPECT_EQ(view.items, Mnemonics());
  EXPECT_EQ(view.countCaption, "共有：223条汇编指令！");
  ASSERT_TRUE(fs.files.count(Path()));
  std::string expected;
  for (const std::string& r : builtIn) expected += r + "\r\n";
  EXPECT_EQ(fs.files[Path()], expected);
  EXPECT_EQ(fs.writeCalls, 1);

  // Once the file exists it is the only source: a second start reads it and
  // writes nothing.
  FakeCatalogueView again;
  Catalogue reloaded;
  LoadCatalogue(reloaded, fs, again);
  EXPECT_EQ(reloaded.records, catalogue.records);
  EXPECT_EQ(again.items, view.items);
  EXPECT_EQ(fs.writeCalls, 1);
}

TEST_F(LoadCatalogueTest, BuiltInOrderIsWholeLineByteOrder) {
  Load();
  const Texts& items = view.items;
  const Texts head(items.begin(), items.begin() + 9);
  EXPECT_EQ(head, (Texts{"AAA", "AAD", "AAM", "AAS", "ADC", "AND", "ASSUME", "BSWAP", "CALL"}));
  const Texts tail(items.end() - 8, items.end());
  EXPECT_EQ(tail, (Texts{"TEST", "WAIT", "WAIT", "WAIT", "XADD", "XCHG", "XLAT", "XOR"}));

  // The three WAIT records come as lines 137, 103 and 130 of the built-in text.
  const Texts lines = CutLines(BuiltInCatalogue());
  const auto wait = std::find(items.begin(), items.end(), "WAIT") - items.begin();
  EXPECT_EQ(catalogue.records[wait], lines[136]);
  EXPECT_EQ(catalogue.records[wait + 1], lines[102]);
  EXPECT_EQ(catalogue.records[wait + 2], lines[129]);

  auto position = [&](const std::string& mnemonic) {
    return std::find(items.begin(), items.end(), mnemonic) - items.begin();
  };
  auto lastPosition = [&](const std::string& mnemonic) {
    return items.rend() - std::find(items.rbegin(), items.rend(), mnemonic) - 1;
  };
  EXPECT_LT(lastPosition("FLD"), position("FLD1"));
  EXPECT_LT(position("CMP"), position("CMPS"));
  EXPECT_LT(position("CMPS"), position("CMPXCHG"));
  EXPECT_LT(position("JE/JZ"), position("JECXZ"));
  // The CLC record with the longer run of spaces sorts first.
  const auto clc = position("CLC");
  EXPECT_EQ(items[clc + 1], "CLC");
  EXPECT_EQ(catalogue.records[clc].find_first_not_of(' ', 3), 12u);
  EXPECT_EQ(catalogue.records[clc + 1].find_first_not_of(' ', 3), 8u);
}

TEST_F(LoadCatalogueTest, SkipsBlankAndIndentedLinesWithoutRewritingTheFile) {
  const std::string text =
      "MOV     b.  \r\n"
      "\r\n"
      "    \r\n"
      "\xA1\xA1\xA1\xA1\r\n"
      " ADD    indented.  \r\n"
      "\xA1\xA1"
      "FW   starts with a full-width space\r\n"
      "AND     a.  \r\n"
      "CMP  c";  // no final line end
  fs.files[Path()] = text;
  Load();
  EXPECT_EQ(catalogue.records, (Texts{"AND     a.  ", "CMP  c", "MOV     b.  ",
                                      "\xA1\xA1"
                                      "FW   starts with a full-width space"}));
  EXPECT_EQ(view.items, (Texts{"AND", "CMP", "MOV",
                               "\xA1\xA1"
                               "FW"}));
  EXPECT_EQ(view.countCaption, CountText(4));
  EXPECT_EQ(fs.files[Path()], text);
  EXPECT_EQ(fs.writeCalls, 0);
}

TEST_F(LoadCatalogueTest, ReadsUpToTheFirstNulAndCutsOnlyAtCrLf) {
  struct Case {
    std::string fileText;
    Texts records;
  };
  const Case cases[] = {
      {std::string("B  x\r\nA  y\r\n\0C  z\r\n", 20), {"A  y", "B  x"}},
      {"B  x\nA  y\n", {"B  x\nA  y\n"}},  // LF alone: one line
      {" A  x\r\n B  y\r\n", {}},
      // A half character ends the text: kept, it would swallow the CR of the
      // line end at the next rewrite.
      {"B  x\r\nA  y\xB0", {"A  y", "B  x"}},
      {std::string("A  y\xB0\0B  x\r\n", 11), {"A  y"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileText);
    fs.files[Path()] = c.fileText;
    view.ClearList();
    Load();
    EXPECT_EQ(catalogue.records, c.records);
    EXPECT_EQ(catalogue.listedCount, static_cast<int>(c.records.size()));
    EXPECT_EQ(view.items.size(), c.records.size());
    EXPECT_EQ(fs.files[Path()], c.fileText);
  }
  EXPECT_EQ(fs.writeCalls, 0);
  EXPECT_EQ(view.countCaption, "共有：0条汇编指令！");
}

TEST_F(LoadCatalogueTest, AnUnreadableFileLoadsEmptyAndIsRemembered) {
  fs.unreadable.insert(Path());
  Load();
  EXPECT_TRUE(catalogue.records.empty());
  EXPECT_TRUE(view.items.empty());
  EXPECT_EQ(view.countCaption, CountText(0));
  EXPECT_TRUE(catalogue.fileUnreadable);
  EXPECT_EQ(fs.writeCalls, 0);

  // Readable again: the next load reads it and forgets.
  fs.unreadable.clear();
  fs.files[Path()] = "MOV  x\r\n";
  Load();
  EXPECT_FALSE(catalogue.fileUnreadable);
  EXPECT_EQ(catalogue.records, Texts{"MOV  x"});
}

TEST_F(LoadCatalogueTest, AddsItemsWithoutClearingAndReloadsTheSame) {
  fs.files[Path()] = "B  x\r\nA  y\r\n";
  Load();
  Load();
  EXPECT_EQ(view.items, (Texts{"A", "B", "A", "B"}));
  view.ClearList();
  Load();
  EXPECT_EQ(view.items, (Texts{"A", "B"}));
  EXPECT_EQ(catalogue.records, (Texts{"A  y", "B  x"}));
}

TEST_F(LoadCatalogueTest, AFailedFirstWriteIsBoundedAndTriedAgainNextLoad) {
  fs.failingWrites = 1000;
  Load();
  EXPECT_EQ(catalogue.listedCount, 223);
  EXPECT_FALSE(fs.files.count(Path()));
  const int attempts = fs.writeCalls;
  EXPECT_GE(attempts, 1);
  EXPECT_LE(attempts, 5);

  fs.failingWrites = 0;
  view.ClearList();
  Load();
  EXPECT_TRUE(fs.files.count(Path()));
  EXPECT_EQ(view.items.size(), 223u);
}

TEST(WriteCatalogue, WritesRecordsInOrderAndAnEmptyCatalogueAsZeroBytes) {
  FakeFileSystem fs;
  Catalogue catalogue;
  EXPECT_TRUE(WriteCatalogue(catalogue, fs));
  EXPECT_EQ(fs.files[CatalogueFilePath(fs)], "");
  catalogue.records = {"B  x", "A  y"};
  EXPECT_TRUE(WriteCatalogue(catalogue, fs));
  EXPECT_EQ(fs.files[CatalogueFilePath(fs)], "B  x\r\nA  y\r\n");
  fs.failingWrites = 2;
  catalogue.records = {"C  z"};
  EXPECT_TRUE(WriteCatalogue(catalogue, fs));  // the third attempt lands
  EXPECT_EQ(fs.files[CatalogueFilePath(fs)], "C  z\r\n");
}

TEST(CatalogueFilePath, IsTheRunDirectoryAndTheFixedName) {
  FakeFileSystem fs;
  fs.runDirectory = "D:\\工具";
  EXPECT_EQ(CatalogueFilePath(fs), "D:\\工具\\汇编指令集.txt");
  EXPECT_EQ(CountText(12345), "共有：12345条汇编指令！");
}

}  // namespace
}  // namespace quenstrel
