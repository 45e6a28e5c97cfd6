#include "catalogue/record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenstrel {
namespace {

TEST(TakeField, SplitsMnemonicFromSpacelessDescription) {
  struct Case {
    std::string text, field1, field2;
  };
  const Case cases[] = {
      {"MOV     传送字或字节.  ", "MOV", "传送字或字节."},
      {"INC     加 1.  ", "INC", "加1."},
      {"NEG     求反(以    0 减之).  ", "NEG", "求反(以0减之)."},
      {"FSUBP  ", "FSUBP", ""},
      {"BSWAP", "BSWAP", "BSWAP"},  // no space after the only word
      {"   ", "", ""},
      {"", "", ""},
      {"   MOV  x y ", "MOV", "xy"},          // leading spaces skipped
      {"MOV\tX Y", "MOV\tX", "Y"},            // a tab separates nothing
      {"\xA1\xA1MOV X", "\xA1\xA1MOV", "X"},  // nor does the full-width space
      {"A B\r\nC D\r\n", "A", "B\r\nCD\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TakeField(c.text, " ", 1), c.field1);
    EXPECT_EQ(TakeField(c.text, " ", 2), c.field2);
    for (int other : {0, 3, -1}) EXPECT_EQ(TakeField(c.text, " ", other), c.field2);
  }
}

TEST(TakeField, UsesTheFirstByteOfTheDelimiter) {
  EXPECT_EQ(TakeField("A,B C,D", ",;", 1), "A");
  EXPECT_EQ(TakeField("A,B C,D", ",;", 2), "B CD");
  EXPECT_EQ(TakeField("A B", "", 1), "A B");
}

TEST(TextUpToNul, StopsAtTheFirstNul) {
  EXPECT_EQ(TextUpToNul(std::string_view("AB\0CD", 5)), "AB");
  EXPECT_EQ(TextUpToNul(std::string_view("\0AB", 3)), "");
  EXPECT_EQ(TextUpToNul("ABC"), "ABC");
}

TEST(CutLines, CutsAtCrLfOnly) {
  using Lines = std::vector<std::string>;
  struct Case {
    std::string text;
    Lines expected;
  };
  const Case cases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"A\r\n\r\nB\r\n", {"A", "", "B"}},
      {"A\r\nB", {"A", "B"}},
      {"A\nB\nC\n", {"A\nB\nC\n"}},  // LF alone ends nothing
      {"A\rB\r\n", {"A\rB"}},
      {"\r\nA", {"", "A"}},
      // A lead byte takes the CR as its trail byte, so no line ends there.
      {"\xB0\r\nB\r\n", {"\xB0\r\nB"}},
      {"\xB0\xA1\r\n\xB0", {"\xB0\xA1", "\xB0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CutLines(c.text), c.expected);
  }
}

TEST(IsRecordLine, SkipsBlankAndIndentedLines) {
  struct Case {
    std::string line;
    bool isRecord;
  };
  const Case cases[] = {
      {"MOV     传送.  ", true},
      {"", false},
      {"    ", false},
      {"\xA1\xA1\xA1\xA1", false},
      {" \xA1\xA1 ", false},
      {" MOV  indented", false},
      {"\xA1\xA1MOV  x", true},  // only the ASCII space counts at the start
      {"\t", true},
      {"FSUBP  ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(IsRecordLine(c.line), c.isRecord);
  }
}

TEST(WriterFormat, ComposesAndEndsEveryLine) {
  EXPECT_EQ(ComposeRecord("MOV", "传送."), "MOV   传送.");
  EXPECT_EQ(ComposeRecord("", ""), "   ");
  std::string text;
  AppendFileLine(text, "A");
  AppendFileLine(text, "");
  EXPECT_EQ(text, "A\r\n\r\n");
  EXPECT_EQ(CutLines(text), (std::vector<std::string>{"A", ""}));

  // A lead byte left alone at the end would take the CR of the line end and
  // join the next record to this one: it is left out.
  text.clear();
  AppendFileLine(text, "B  x\x80");
  AppendFileLine(text, "C  y");
  EXPECT_EQ(CutLines(text), (std::vector<std::string>{"B  x", "C  y"}));
}

TEST(EndsInHalfCharacter, PairsBytesFromTheStart) {
  struct Case {
    std::string text;
    bool half;
  };
  const Case cases[] = {
      {"", false},
      {"A", false},
      {"\x80", true},
      {"A\xB0", true},
      {"\xB0\xA1", false},
      {"\xB0\xA1\xB0", true},
      {"\xB0\xB0\xB0", true},
      {"\xB0\x41\xB0\x41", false},  // trail bytes in the ASCII range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EndsInHalfCharacter(c.text), c.half);
  }
}

}  // namespace
}  // namespace quenstrel
