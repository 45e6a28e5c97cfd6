#include "search/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace quenstrel {
namespace {

TEST(FindText, FindsBytesFromStartPosition) {
  struct Case {
    std::string haystack, needle;
    int startPos, expected;
  };
  const Case cases[] = {
      {"CMPXCHG", "XCHG", 0, 4},
      {"MOVSB", "MOV", 0, 1},
      {"MOV", "mov", 0, -1},
      {"POPA", "P", 2, 3},
      {"POPA", "P", 5, -1},
      {"POPA", "P", -7, 1},
      {"POPA", "A", 4, 4},
      {"POPA", "POPAX", 0, -1},
      {"", "A", 0, -1},
      // Byte-wise: a match may start on a trail byte and span two characters.
      {"字节", "\xD6\xBD", 0, 2},
      // A trail byte in the ASCII range is found as that ASCII byte.
      {"\x81\x5C", "\\", 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.haystack + " / " + c.needle);
    EXPECT_EQ(FindText(c.haystack, c.needle, c.startPos), c.expected);
  }
}

TEST(FindText, NeverFindsTheEmptyNeedle) {
  for (const char* haystack : {"", "A", "MOV"}) {
    SCOPED_TRACE(haystack);
    EXPECT_EQ(FindText(haystack, "", 0), -1);
    EXPECT_EQ(FindText(haystack, "", 1), -1);
  }
}

TEST(PadRight, PadsToWidthAndNeverCuts) {
  struct Case {
    std::string text, padChar;
    int width;
    std::string expected;
  };
  const Case cases[] = {
      {"MOV", " ", 15, "MOV" + std::string(12, ' ')},
      {"", " ", 15, std::string(15, ' ')},
      {"LOOPNE/LOOPNZ12", " ", 15, "LOOPNE/LOOPNZ12"},
      {"LOOPNE/LOOPNZ123", " ", 15, "LOOPNE/LOOPNZ123"},
      {"MOV", " ", 0, ""},
      {"MOV", " ", -3, ""},
      {"AB", "xyz", 5, "ABxxx"},
      {"字", " ", 3, "字 "},  // widths count bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " to " + std::to_string(c.width));
    EXPECT_EQ(PadRight(c.text, c.padChar, c.width), c.expected);
  }
}

TEST(CompareText, IsUnsignedByteOrder) {
  struct Case {
    std::string a, b;
    int expected;
  };
  const Case cases[] = {
      {"", "", 0},      {"A", "a", -1},    {"ab", "a", 1},       {"\x80", "z", 1},
      {"", "\x01", -1}, {"MOV", "MOV", 0}, {"MOV ", "MOVS", -1}, {"\xB0\xA1", "\xB0\xA2", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a + " vs " + c.b);
    EXPECT_EQ(CompareText(c.a, c.b), c.expected);
    EXPECT_EQ(CompareText(c.b, c.a), -c.expected);
  }
}

TEST(SortTexts, SortsAscendingAndExactlyReversedDescending) {
  const std::vector<std::string> input = {"MOV", "ADD", "", "Mov", "MOVSB"};
  const std::vector<std::string> ascending = {"", "ADD", "MOV", "MOVSB", "Mov"};
  std::vector<std::string> texts = input;
  SortTexts(texts);
  EXPECT_EQ(texts, ascending);
  texts = input;
  SortTexts(texts, false);
  EXPECT_EQ(texts, std::vector<std::string>(ascending.rbegin(), ascending.rend()));

  // Views into the texts, as loading sorts them, come in the same order.
  std::vector<std::string_view> views(input.begin(), input.end());
  SortTexts(views);
  EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), ascending);
}

TEST(SortTexts, AgreesWithStdSortOnManyShapes) {
  std::mt19937 rng(7);
  auto randomText = [&rng](int alphabet) {
    std::string s(rng() % 6, '\0');
    for (char& c : s) c = static_cast<char>(0x7E + static_cast<int>(rng() % alphabet));
    return s;
  };
  for (int n : {0, 1, 2, 3, 10, 257, 2000}) {
    for (int alphabet : {1, 3, 200}) {
      std::vector<std::string> texts;
      for (int k = 0; k < n; ++k) texts.push_back(randomText(alphabet));
      for (bool ascending : {true, false}) {
        SCOPED_TRACE(std::to_string(n) + " texts, alphabet " + std::to_string(alphabet));
        std::vector<std::string> expected = texts;
        std::sort(expected.begin(), expected.end(),
                  [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
        if (!ascending) std::reverse(expected.begin(), expected.end());
        std::vector<std::string> sorted = texts;
        SortTexts(sorted, ascending);
        EXPECT_EQ(sorted, expected);
      }
    }
  }
}

TEST(SortTexts, HandlesOrdersThatDefeatAMiddlePivot) {
  // Sorted, reversed and organ-pipe orders, and all-equal, at a size where a
  // quadratic sort or a linear recursion depth would show.
  const int n = 200000;
  std::vector<std::vector<std::string>> shapes(4);
  for (int k = 0; k < n; ++k) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08d", k);
    shapes[0].push_back(buf);
    std::snprintf(buf, sizeof buf, "%08d", n - k);
    shapes[1].push_back(buf);
    std::snprintf(buf, sizeof buf, "%08d", k < n / 2 ? k : n - k);
    shapes[2].push_back(buf);
    shapes[3].push_back("WAIT");
  }
  for (auto& texts : shapes) {
    SortTexts(texts);
    EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
  }
}

TEST(UpperCaseText, ChangesOnlyAsciiLetters) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"movsx", "MOVSX"},
      {"字a", "字A"},
      {"\xD4\x61", "\xD4\x61"},    // trail byte in a..z stays
      {"ab\xD4", "AB\xD4"},        // lone lead byte at the end
      {"\xA3\xE1z", "\xA3\xE1Z"},  // full-width letter stays
      {"", ""},
      {"a-z{}`@", "A-Z{}`@"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(UpperCaseText(c.text), c.expected);
  }
}

TEST(Blanks, AreAsciiAndFullWidthSpacesOnCharacterBoundaries) {
  struct Case {
    std::string text, removed, trimmed;
  };
  const Case cases[] = {
      {"  加 1.  ", "加1.", "加 1."},
      {"\xA1\xA1"
       "MOV\xA1\xA1 X ",
       "MOVX", "MOV\xA1\xA1 X"},
      {"\t A \r\n", "\tA\r\n", "\t A \r\n"},
      // B0 A1 is one character; the A1 A1 that straddles it is no blank.
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
      {" \xA1\xA1 ", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(RemoveBlanks(c.text), c.removed);
    EXPECT_EQ(TrimBlanks(c.text), c.trimmed);
  }
}

TEST(RemoveLineEnds, RemovesPairsAndKeepsLoneBytes) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"A\r\nB\r\n", "AB"},
      {"A\rB\nC\n\r", "A\rB\nC\n\r"},
      {"\r\r\n\n", ""},  // no line end may be left to split the record
      {"\r\n\n\rA\r\r\nB\n", "\n\rA\rB\n"},
      // A lead byte takes the CR with it, so that CR LF is no line end.
      {"\xB0\r\nX", "\xB0\r\nX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(RemoveLineEnds(c.text), c.expected);
  }
}

}  // namespace
}  // namespace quenstrel
