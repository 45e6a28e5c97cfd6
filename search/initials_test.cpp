#include "search/initials.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quenstrel {
namespace {

constexpr int kFirstTrail = 0xA1;
constexpr int kLastTrail = 0xFE;

char Cell(int code) {
  return InitialsTable()[static_cast<std::size_t>(code >> 8) * kInitialsStride +
                         static_cast<std::size_t>(code & 0xFF)];
}

// Codes from `first` to `last` inclusive in GB2312 order: trail A1..FE, then
// the next lead byte.
std::vector<int> Codes(int first, int last) {
  std::vector<int> codes;
  for (int lead = first >> 8; lead <= last >> 8; ++lead) {
    for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      const int code = lead << 8 | trail;
      if (code >= first && code <= last) codes.push_back(code);
    }
  }
  return codes;
}

std::map<char, int> LetterCounts(const std::vector<int>& codes) {
  std::map<char, int> counts;
  for (int code : codes) {
    if (Cell(code) != ' ') ++counts[Cell(code)];
  }
  return counts;
}

int Total(const std::map<char, int>& counts) {
  int total = 0;
  for (const auto& [letter, count] : counts) total += count;
  return total;
}

const std::vector<int> kLevel1 = Codes(0xB0A1, 0xD7F9);
const std::vector<int> kLevel2 = Codes(0xD8A1, 0xF7FE);

TEST(InitialsTable, HoldsOnlySpacesAndTheTwentyThreeInitials) {
  const std::string_view table = InitialsTable();
  ASSERT_EQ(table.size(), kInitialsTableSize);
  const std::string_view allowed = " abcdefghjklmnopqrstwxyz";
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (allowed.find(table[i]) == std::string_view::npos) {
      ADD_FAILURE() << "offset " << i << " holds byte "
                    << int{static_cast<unsigned char>(table[i])};
    }
  }
}

TEST(InitialsTable, LettersLieOnlyInTheChineseCharacterRows) {
  const std::string_view table = InitialsTable();
  int letters = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] == ' ') continue;
    ++letters;
    const std::size_t lead = i / kInitialsStride;
    const std::size_t trail = i % kInitialsStride;
    EXPECT_TRUE(lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE)
        << "letter at offset " << i;
  }
  EXPECT_EQ(letters, 6720);
}

TEST(InitialsTable, CountsPerInitialInBothLevels) {
  const std::map<char, int> level1 = {{'a', 36},  {'b', 184}, {'c', 233}, {'d', 183}, {'e', 22},
                                      {'f', 125}, {'g', 155}, {'h', 181}, {'j', 295}, {'k', 100},
                                      {'l', 248}, {'m', 150}, {'n', 80},  {'o', 8},   {'p', 122},
                                      {'q', 156}, {'r', 59},  {'s', 286}, {'t', 157}, {'w', 120},
                                      {'x', 223}, {'y', 306}, {'z', 324}};
  const std::map<char, int> level2 = {{'a', 36},  {'b', 129}, {'c', 194}, {'d', 142}, {'e', 27},
                                      {'f', 80},  {'g', 144}, {'h', 142}, {'j', 229}, {'k', 99},
                                      {'l', 225}, {'m', 134}, {'n', 75},  {'o', 5},   {'p', 100},
                                      {'q', 159}, {'r', 41},  {'s', 177}, {'t', 107}, {'w', 83},
                                      {'x', 166}, {'y', 259}, {'z', 214}};
  EXPECT_EQ(LetterCounts(kLevel1), level1);
  EXPECT_EQ(LetterCounts(kLevel2), level2);
  EXPECT_EQ(Total(LetterCounts(kLevel1)), 3753);
  EXPECT_EQ(Total(LetterCounts(kLevel2)), 2967);
}

TEST(InitialsTable, LevelOneFollowsThePinyinRangesButForFiveCells) {
  struct Range {
    char letter;
    int first, last;
  };
  const Range ranges[] = {
      {'a', 0xB0A1, 0xB0C4}, {'b', 0xB0C5, 0xB2C0}, {'c', 0xB2C1, 0xB4ED}, {'d', 0xB4EE, 0xB6E9},
      {'e', 0xB6EA, 0xB7A1}, {'f', 0xB7A2, 0xB8C0}, {'g', 0xB8C1, 0xB9FD}, {'h', 0xB9FE, 0xBBF6},
      {'j', 0xBBF7, 0xBFA5}, {'k', 0xBFA6, 0xC0AB}, {'l', 0xC0AC, 0xC2E7}, {'m', 0xC2E8, 0xC4C2},
      {'n', 0xC4C3, 0xC5B5}, {'o', 0xC5B6, 0xC5BD}, {'p', 0xC5BE, 0xC6D9}, {'q', 0xC6DA, 0xC8BA},
      {'r', 0xC8BB, 0xC8F5}, {'s', 0xC8F6, 0xCBF9}, {'t', 0xCBFA, 0xCDD9}, {'w', 0xCDDA, 0xCEF3},
      {'x', 0xCEF4, 0xD1B8}, {'y', 0xD1B9, 0xD4D0}, {'z', 0xD4D1, 0xD7F9}};
  // 翟 z, 没 t, 懦 r; 沁 and 儒 have none.
  const std::map<int, char> exceptions = {
      {0xB5D4, 'z'}, {0xC3BB, 't'}, {0xC5B3, 'r'}, {0xC7DF, ' '}, {0xC8E5, ' '}};
  std::size_t covered = 0;
  for (const Range& range : ranges) {
    for (int code : Codes(range.first, range.last)) {
      ++covered;
      const auto exception = exceptions.find(code);
      const char want = exception == exceptions.end() ? range.letter : exception->second;
      EXPECT_EQ(Cell(code), want) << std::hex << "code " << code;
    }
  }
  EXPECT_EQ(covered, kLevel1.size());
  EXPECT_EQ(kLevel1.size(), 3755u);
}

TEST(InitialsTable, LevelTwoHasExactlyItsFortyOneSpaces) {
  const std::vector<int> want = {
      0xD8AD, 0xD8AF, 0xD8BC, 0xD8CE, 0xD8D6, 0xD8E7, 0xD8E9, 0xD9E0, 0xD9E8, 0xD9EF, 0xD9FB,
      0xDAA2, 0xDAA5, 0xDAE0, 0xDAE2, 0xDBC8, 0xDBC9, 0xDCB3, 0xDED0, 0xE1EA, 0xE1EB, 0xE2BA,
      0xE2BB, 0xE2E0, 0xE3DC, 0xE3DF, 0xE5B2, 0xE5C1, 0xE5E6, 0xE5F8, 0xE6F9, 0xEBB6, 0xECE1,
      0xECEA, 0xEDB1, 0xEDEC, 0xEEC4, 0xF0DA, 0xF1C2, 0xF2AF, 0xF3CC};
  std::vector<int> spaces;
  for (int code : kLevel2) {
    if (Cell(code) == ' ') spaces.push_back(code);
  }
  EXPECT_EQ(spaces, want);
}

TEST(InitialsTable, SampleCells) {
  const std::map<int, char> samples = {
      {0xD8A1, 'c'}, {0xD8A2, 'j'}, {0xD8A3, 'w'}, {0xD8A6, 's'}, {0xD8B4, 'z'},
      {0xD8BF, 'm'}, {0xD8C1, 'q'}, {0xF7FE, 'z'}, {0xD8AD, ' '},  // 亍丌兀卅卮乜亓齄 丨
      {0xD7FA, ' '}, {0xD7FB, ' '}, {0xD7FC, ' '}, {0xD7FD, ' '}, {0xD7FE, ' '},  // unassigned
      {0xA3AC, ' '}, {0xA9A6, ' '}, {0x8140, ' '}, {0xB040, ' '}, {0xF7A0, ' '},  // outside
      {0xB0A1, 'a'}, {0xD7F9, 'z'}};
  for (const auto& [code, want] : samples) {
    EXPECT_EQ(Cell(code), want) << std::hex << "code " << code;
  }
}

// The fold written out plainly, as a yardstick for the fast one. Also counts
// the characters that took an initial.
std::string ReferenceFold(std::string_view text, std::string_view table, std::size_t* initials) {
  std::string result;
  *initials = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    const std::size_t at = lead * kInitialsStride + trail;
    const char cell = at < table.size() ? table[at] : ' ';
    if (cell == ' ') {
      result += text.substr(i, 2);
    } else {
      result += cell;
      ++*initials;
    }
    ++i;
  }
  return result;
}

TEST(FoldInitials, Cases) {
  struct Case {
    std::string_view input;
    std::string_view want;
  };
  const Case cases[] = {
      {"寄存器", "jcq"},
      {"MOV     传送字或字节.  ", "MOV     cszhzj.  "},
      {"把AX,CX", "bAX,CX"},
      {"mov ax,bx", "mov ax,bx"},
      {"", ""},
      {"，│、", "，│、"},  // full-width punctuation, box drawing
      {"翟没懦", "ztr"},   // cells that differ from their ranges
      {"沁儒丨乜", "沁儒丨m"},
      {"\x81\x40", "\x81\x40"},  // GBK extension
      {"\xB0\x40\xB0\xA1",
       "\xB0\x40"
       "a"},                     // trail 0x40 outside GB2312
      {"\xD7\xFA", "\xD7\xFA"},  // unassigned
      {"\xB0", "\xB0"},          // lone lead byte
      {"寄\xB0", "j\xB0"},
      {"ab\xFF", "ab\xFF"},
      {"\xB0\x01x", "\xB0\x01x"},  // not a valid pair, still one
      {"\xB0\x3F", "\xB0\x3F"},
      {"\x81\x5C"
       "a",
       "\x81\x5C"
       "a"},                       // trail 0x5C is not a backslash
      {"\xD5\x7C|", "\xD5\x7C|"},  // trail 0x7C is not a bar
      {"\x80\xA1\xFF\xFE", "\x80\xA1\xFF\xFE"},
      {"\xA1\xA1寄", "\xA1\xA1j"},  // full-width space stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
    EXPECT_EQ(FoldInitials(c.input), c.want);
    std::size_t initials = 0;
    ReferenceFold(c.input, InitialsTable(), &initials);
    EXPECT_EQ(c.want.size(), c.input.size() - initials);
  }
}

TEST(FoldInitials, ReadsTheCellAtLeadTimesAThousandPlusTrail) {
  std::string table(kInitialsTableSize, ' ');
  table[0xC4 * kInitialsStride + 0x41] = 'k';
  table[0xC4 * 256 + 0x41] = 'x';  // where a 256 stride would look
  EXPECT_EQ(FoldInitials("a\xC4\x41"
                         "b\xC4\x42",
                         table),
            "akb\xC4\x42");
}

TEST(FoldInitials, CellsBeyondAShortTableCountAsSpaces) {
  std::string table(0xB1 * kInitialsStride, ' ');
  table[0xB0 * kInitialsStride + 0xA1] = 'a';
  EXPECT_EQ(FoldInitials("\xB0\xA1\xF7\xFE\xFF\xFF", table), "a\xF7\xFE\xFF\xFF");
  EXPECT_EQ(FoldInitials("\xB0\xA1", std::string_view()), "\xB0\xA1");
}

// Agreement with the yardstick on a text, through all three entry points;
// `reused` carries stale contents and capacity from earlier calls.
void ExpectFoldsLikeReference(const std::string& text, std::string& reused) {
  std::size_t initials = 0;
  const std::string want = ReferenceFold(text, InitialsTable(), &initials);
  ASSERT_EQ(want.size(), text.size() - initials);
  EXPECT_EQ(FoldInitials(text), want);
  FoldInitialsInto(text, reused);
  EXPECT_EQ(reused, want);
  std::string buffer(text.size(), '#');
  EXPECT_EQ(std::string(buffer.data(), FoldInitialsTo(text, buffer.data())), want);
}

TEST(FoldInitials, EveryPositionOfAPairOrLoneLeadInAnAsciiRun) {
  // Covers each offset inside and across the blocks the fast path moves.
  std::string reused;
  for (std::string_view insert : {"寄", "\xB0", "\x81\x40", "，", "寄存器"}) {
    for (std::size_t length = 0; length <= 70; ++length) {
      for (std::size_t at = 0; at <= length; ++at) {
        std::string text(length, 'a');
        text.insert(at, insert);
        SCOPED_TRACE(testing::PrintToString(text));
        ExpectFoldsLikeReference(text, reused);
        if (HasFailure()) return;
      }
    }
  }
}

std::string RandomText(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 600);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> asciiByte(0x01, 0x7F);
  std::uniform_int_distribution<int> percent(0, 99);
  const int highShare = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? 60 : 3;
  std::string text(static_cast<std::size_t>(length(random)), ' ');
  for (char& c : text) {
    c = static_cast<char>(percent(random) < highShare ? anyByte(random) : asciiByte(random));
  }
  if (!text.empty() && percent(random) < 25) text.back() = '\xC4';  // maybe a lone lead
  return text;
}

TEST(FoldInitials, AgreesWithAPlainFoldOnRandomBytes) {
  std::mt19937 random(20240611);
  std::string reused;
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(random);
    SCOPED_TRACE(testing::PrintToString(text));
    ExpectFoldsLikeReference(text, reused);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace quenstrel
