// The built-in catalogue is data, but the program and its first catalogue file
// rely on its exact shape: these tests pin every fixed property of the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resources.h"

namespace quenstrel {
namespace {

constexpr std::size_t kLineCount = 223;

// Lines 1 to 223 of the text, in order.
constexpr std::array<std::string_view, kLineCount> kMnemonics = {
    "MOV",      "MOVSX",   "MOVZX",   "PUSH",        "POP",           "PUSHA",     "POPA",
    "PUSHAD",   "POPAD",   "BSWAP",   "XCHG",        "CMPXCHG",       "XADD",      "XLAT",
    "IN",       "OUT",     "LEA",     "LDS",         "LES",           "LFS",       "LGS",
    "LSS",      "LAHF",    "SAHF",    "PUSHF",       "POPF",          "PUSHD",     "POPD",
    "ADC",      "INC",     "AAA",     "DAA",         "SUB",           "SBB",       "DEC",
    "NEG",      "CMP",     "AAS",     "DAS",         "MUL",           "IMUL",      "AAM",
    "DIV",      "IDIV",    "AAD",     "CBW",         "CWD",           "CWDE",      "CDQ",
    "AND",      "OR",      "XOR",     "NOT",         "TEST",          "SHL",       "SAL",
    "SHR",      "SAR",     "ROL",     "ROR",         "RCL",           "RCR",       "MOVS",
    "CMPS",     "SCAS",    "LODS",    "STOS",        "REP",           "REPE/REPZ", "REPNE/REPNZ",
    "REPC",     "REPNC",   "JMP",     "CALL",        "RET/RETF",      "JA/JNBE",   "JAE/JNB",
    "JB/JNAE",  "JBE/JNA", "JG/JNLE", "JGE/JNL",     "JL/JNGE",       "JLE/JNG",   "JE/JZ",
    "JNE/JNZ",  "JC",      "JNC",     "JNO",         "JNP/JPO",       "JNS",       "JO",
    "JP/JPE",   "JS",      "LOOP",    "LOOPE/LOOPZ", "LOOPNE/LOOPNZ", "JCXZ",      "JECXZ",
    "INT",      "INTO",    "IRET",    "HLT",         "WAIT",          "ESC",       "LOCK",
    "NOP",      "STC",     "CLC",     "CMC",         "STD",           "CLD",       "STI",
    "CLI",      "DW",      "PROC",    "ENDP",        "SEGMENT",       "ASSUME",    "ENDS",
    "END",      "CLC",     "CMC",     "STC",         "CLD",           "STD",       "CLI",
    "STI",      "NOP",     "HLT",     "WAIT",        "ESC",           "LOCK",      "FINIT",
    "FCLEX",    "FDISI",   "FENI",    "WAIT",        "FWAIT",         "FNOP",      "FXCH",
    "FXCH",     "FSTSW",   "FSTSW",   "FLDCW",       "FSTCW",         "FLDENV",    "FSTENV",
    "FRSTOR",   "FSAVE",   "FFREE",   "FDECSTP",     "FINCSTP",       "FSETPM",    "FLDZ",
    "FLD1",     "FLDPI",   "FLDL2T",  "FLDL2E",      "FLDLG2",        "FLDLN2",    "FLD",
    "FLD",      "FLD",     "FILD",    "FILD",        "FILD",          "FBLD",      "FST",
    "FST",      "FIST",    "FIST",    "FSTP",        "FSTP",          "FSTP",      "FISTP",
    "FISTP",    "FISTP",   "FBSTP",   "FCMOVB",      "FCMOVBE",       "FCMOVE",    "FCMOVNB",
    "FCMOVNBE", "FCMOVNE", "FCMOVNU", "FCMOVU",      "FCOM",          "FCOMI",     "FCOMIP",
    "FCOM",     "FCOM",    "FICOM",   "FICOM",       "FICOMP",        "FICOMP",    "FTST",
    "FUCOM",    "FUCOMP",  "FUCOMPP", "FXAM",        "FADD",          "FADDP",     "FIADD",
    "FSUB",     "FSUBP",   "FSUBR",   "FSUBRP",      "FISUB",         "FISUBR",    "FMUL",
    "FMULP",    "FIMUL",   "FDIV",    "FDIVP",       "FDIVR",         "FDIVRP",    "FIDIV",
    "FIDIVR",   "FCHS",    "FABS",    "FSQRT",       "FSCALE",        "FRNDINT",
};

struct Block {
  std::size_t first, last, column;
};
constexpr std::array<Block, 7> kBlocks = {{
    {1, 67, 8},
    {68, 93, 12},
    {94, 98, 16},
    {99, 120, 12},
    {121, 132, 8},
    {133, 200, 22},
    {201, 223, 22},
}};
constexpr std::size_t kFloatFirst = 133, kFloatLast = 200, kProseFirst = 201;
const std::set<std::size_t> kEmptyDescriptions = {205, 207, 208, 209, 211, 212,
                                                  214, 215, 216, 217, 218};

// Byte-wise, as the program splits: the text between CR LF pairs.
std::vector<std::string_view> Lines() {
  std::string_view text = BuiltInCatalogue();
  std::vector<std::string_view> lines;
  for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos;) {
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
  if (!text.empty()) lines.push_back(text);
  return lines;
}

std::string_view Mnemonic(std::string_view line) { return line.substr(0, line.find(' ')); }

// Every non-space byte after the mnemonic: the description field.
std::string DescriptionField(std::string_view line) {
  std::string field;
  for (char c : line.substr(Mnemonic(line).size()))
    if (c != ' ') field += c;
  return field;
}

unsigned Byte(char c) { return static_cast<unsigned char>(c); }

// A byte of 0x80 or above takes the next byte with it.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> chars;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t width = Byte(text[i]) >= 0x80 ? 2 : 1;
    chars.push_back(text.substr(i, width));
    i += width;
  }
  return chars;
}

// The GBK hanzi areas: GB2312 level 1 and 2, and the two extension areas.
bool IsHanzi(std::string_view pair) {
  if (pair.size() != 2) return false;
  unsigned lead = Byte(pair[0]), trail = Byte(pair[1]);
  if (trail == 0x7F || trail < 0x40 || trail > 0xFE) return false;
  if (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) return lead != 0xD7 || trail <= 0xF9;
  if (lead >= 0x81 && lead <= 0xA0) return true;
  return lead >= 0xAA && lead <= 0xFE && trail <= 0xA0;
}

class BuiltInCatalogueTest : public testing::Test {
 protected:
  std::vector<std::string_view> lines = Lines();
  std::string_view Line(std::size_t number) const { return lines.at(number - 1); }
};

TEST_F(BuiltInCatalogueTest, Has223LinesEachEndedByCrLfAndNoOtherControlByte) {
  std::string_view text = BuiltInCatalogue();
  EXPECT_EQ(text.size(), 11568u);
  EXPECT_TRUE(text.ends_with("\r\n"));
  ASSERT_EQ(lines.size(), kLineCount);
  for (std::size_t n = 1; n <= kLineCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(std::none_of(Line(n).begin(), Line(n).end(),
                             [](char c) { return Byte(c) < 0x20 || Byte(c) == 0x7F; }));
  }
}

TEST_F(BuiltInCatalogueTest, MnemonicsStandInTheirOrder) {
  ASSERT_EQ(lines.size(), kLineCount);
  std::map<std::string_view, int> uses;
  for (std::size_t n = 1; n <= kLineCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(Mnemonic(Line(n)), kMnemonics[n - 1]);
    ++uses[Mnemonic(Line(n))];
  }
  auto repeated = std::count_if(uses.begin(), uses.end(), [](auto& u) { return u.second > 1; });
  int inRepeats = 0;
  for (auto& [mnemonic, count] : uses) inRepeats += count > 1 ? count : 0;
  EXPECT_EQ(uses.size(), 194u);
  EXPECT_EQ(repeated, 23);
  EXPECT_EQ(inRepeats, 52);
  EXPECT_EQ(uses["WAIT"], 3);
}

TEST_F(BuiltInCatalogueTest, DescriptionsStartAtTheColumnOfTheirBlock) {
  ASSERT_EQ(lines.size(), kLineCount);
  for (const Block& block : kBlocks) {
    for (std::size_t n = block.first; n <= block.last; ++n) {
      if (kEmptyDescriptions.contains(n)) continue;
      SCOPED_TRACE(n);
      std::string_view line = Line(n);
      std::size_t gapEnd = line.find_first_not_of(' ', Mnemonic(line).size());
      std::size_t gap = gapEnd - Mnemonic(line).size();
      EXPECT_GE(gap, 1u);
      EXPECT_LE(gap, 18u);
      ASSERT_GT(line.size(), block.column);
      EXPECT_EQ(line[block.column - 1], ' ');
      EXPECT_NE(line[block.column], ' ');
      // Only the floating-point table puts an operand before the column.
      if (n < kFloatFirst || n > kFloatLast) {
        EXPECT_EQ(gapEnd, block.column);
      }
    }
  }
}

TEST_F(BuiltInCatalogueTest, EveryLineEndsInExactlyTwoSpaces) {
  for (std::size_t n = 1; n <= lines.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(Line(n).ends_with("  "));
    EXPECT_FALSE(Line(n).ends_with("   "));
    EXPECT_NE(Line(n).front(), ' ');
  }
}

TEST_F(BuiltInCatalogueTest, QuotedRowsStandExactly) {
  struct Row {
    std::size_t line, column;
    std::string_view text, field;  // field empty: the same as text
  };
  const Row rows[] = {
      {1, 8, "传送字或字节.", ""},
      {2, 8, "先符号扩展,再传送.", ""},
      {12, 8, "比较并交换操作数.(第二个操作数必须为累加器AL/AX/EAX)", ""},
      {15, 8, "I/O端口输入. ( 语法: IN   累加器,    {端口号│DX} )",
       "I/O端口输入.(语法:IN累加器,{端口号│DX})"},
      {30, 8, "加 1.", "加1."},
      {36, 8, "求反(以    0 减之).", "求反(以0减之)."},
      {70, 12, "当ZF=0或比较结果不相等,且CX/ECX<>0时重复", ""},
      {96, 16, "CX不为零且标志Z=0时循环.", ""},
      {103, 12, "当芯片引线TEST为高电平时使CPU进入等待状态.", ""},
      {108, 12, "清进位标志位.", ""},
      {121, 8, "进位位置0指令", ""},
      {130, 8, "等待", ""},
      {133, 22, "初始化浮点部件                  机器码  9B DB E3", "初始化浮点部件机器码9BDBE3"},
      {137, 22, "同步CPU和FPU                    机器码  9B", "同步CPU和FPU机器码9B"},
      {141, 5, "ST(i)            交换ST(0)和ST(i)                机器码  D9 C1iii",
       "ST(i)交换ST(0)和ST(i)机器码D9C1iii"},
      {161, 7, "real4 ptr mem  装入mem的单精度浮点数             机器码  D9 mm000mmm",
       "real4ptrmem装入mem的单精度浮点数机器码D9mm000mmm"},
      {223, 22,
       "这个指令是把 ST 的数值舍入成整数，FPU    提供四种舍入方式，由 FPU 的控制字组"
       "(control    word)中的 RC 两个位决定",
       "这个指令是把ST的数值舍入成整数，FPU提供四种舍入方式，由FPU的控制字组"
       "(controlword)中的RC两个位决定"},
  };
  ASSERT_EQ(lines.size(), kLineCount);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    std::string_view line = Line(row.line);
    std::string head(row.column, ' ');
    head.replace(0, kMnemonics[row.line - 1].size(), kMnemonics[row.line - 1]);
    EXPECT_EQ(line, head + std::string(row.text) + "  ");
    EXPECT_EQ(DescriptionField(line), row.field.empty() ? row.text : row.field);
  }
}

TEST_F(BuiltInCatalogueTest, ElevenRecordsHaveAnEmptyDescription) {
  for (std::size_t n = 1; n <= lines.size(); ++n) {
    SCOPED_TRACE(n);
    bool empty = kEmptyDescriptions.contains(n);
    EXPECT_EQ(DescriptionField(Line(n)).empty(), empty);
    if (empty) {
      EXPECT_EQ(Line(n), std::string(Mnemonic(Line(n))) + "  ");
    }
  }
}

TEST_F(BuiltInCatalogueTest, ShortestLineIsAMnemonicAloneAndFscaleIsTheLongest) {
  ASSERT_EQ(lines.size(), kLineCount);
  auto bySize = [](std::string_view a, std::string_view b) { return a.size() < b.size(); };
  EXPECT_EQ(std::min_element(lines.begin(), lines.end(), bySize)->size(), 7u);
  EXPECT_EQ(Line(205), "FSUBP  ");
  EXPECT_EQ(Line(222).size(), 283u);
  EXPECT_EQ(
      std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return l.size() >= 283; }),
      1);
}

constexpr std::string_view kFullWidthComma = "，", kIdeographicStop = "。";
constexpr std::string_view kBar = "│", kPi = "π";

bool IsAllowedAscii(char c) {
  constexpr std::string_view kPunctuation = "!\"()*+,-./:;<=>[]^{}";
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
         kPunctuation.find(c) != std::string_view::npos;
}

bool IsSymbol(std::string_view c) {
  return c == kFullWidthComma || c == kIdeographicStop || c == kBar || c == kPi;
}

TEST_F(BuiltInCatalogueTest, DescriptionsUseOnlyTheirCharacterRepertoire) {
  std::map<std::string_view, std::set<std::size_t>> where;
  for (std::size_t n = 1; n <= lines.size(); ++n) {
    SCOPED_TRACE(n);
    for (std::string_view c : Characters(Line(n).substr(Mnemonic(Line(n)).size()))) {
      if (c.size() == 1) {
        EXPECT_TRUE(IsAllowedAscii(c[0])) << Byte(c[0]);
        if (c == "\"" || ((c == "," || c == ".") && n >= kProseFirst)) where[c].insert(n);
      } else if (IsSymbol(c)) {
        where[c].insert(n);
      } else {
        EXPECT_TRUE(IsHanzi(c)) << Byte(c[0]) << ' ' << Byte(c.back());
      }
    }
  }
  EXPECT_EQ(where["\""], (std::set<std::size_t>{90, 93}));  // JNS, JS
  EXPECT_EQ(where[kBar], (std::set<std::size_t>{15, 16}));  // IN, OUT
  EXPECT_EQ(where[kPi], (std::set<std::size_t>{156}));      // FLDPI
  for (std::string_view prose : {kFullWidthComma, kIdeographicStop}) {
    EXPECT_FALSE(where[prose].empty());
    EXPECT_GE(*where[prose].begin(), kProseFirst);
  }
  // The prose lines take full-width punctuation instead.
  EXPECT_TRUE(where[","].empty());
  EXPECT_TRUE(where["."].empty());
}

TEST_F(BuiltInCatalogueTest, Has2096ChineseCharacters) {
  std::size_t count = 0;
  for (std::string_view line : lines)
    for (std::string_view c : Characters(line)) count += c.size() == 2 && !IsSymbol(c);
  EXPECT_EQ(count, 2096u);
}

TEST_F(BuiltInCatalogueTest, NinetyEightOfTheFirst132LinesEndInAFullStop) {
  ASSERT_EQ(lines.size(), kLineCount);
  std::size_t stops = 0;
  for (std::size_t n = 1; n <= 132; ++n) {
    bool stop = Line(n).ends_with(".  ");
    stops += stop;
    if (n >= 121) {
      EXPECT_FALSE(stop) << n;  // the short second wording has none
    }
  }
  EXPECT_EQ(stops, 98u);
}

bool IsEncodingByte(std::string_view t) {
  auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
  auto bit = [](char c) { return c == '0' || c == '1'; };
  if (t.size() == 2) return hex(t[0]) && hex(t[1]);
  if (t.size() == 5) return hex(t[0]) && bit(t[1]) && t.substr(2) == "iii";
  return t.size() == 8 && t.starts_with("mm") && t.ends_with("mmm") && bit(t[2]) && bit(t[3]) &&
         bit(t[4]);
}

// "D9 C1iii": hexadecimal bytes, with register bits or a ModR/M pattern spelt out.
bool IsEncoding(std::string_view text) {
  bool first = true;
  for (std::size_t end; !text.empty(); first = false) {
    end = text.find(' ');
    std::string_view token = text.substr(0, end);
    if (!IsEncodingByte(token) || (first && token.size() != 2)) return false;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (end != std::string_view::npos && text.empty()) return false;
  }
  return !first;
}

TEST_F(BuiltInCatalogueTest, FloatingPointTableKeepsItsColumns) {
  const std::set<std::string_view> kOperands = {"ST(i)",
                                                "ax",
                                                "mem",
                                                "word ptr mem",
                                                "dword ptr mem",
                                                "qword ptr mem",
                                                "real4 ptr mem",
                                                "real8 ptr mem",
                                                "real10 ptr mem",
                                                "tbyte ptr mem"};
  constexpr std::string_view kMachineCode = "机器码";
  ASSERT_EQ(lines.size(), kLineCount);
  for (std::size_t n = kFloatFirst; n <= kFloatLast; ++n) {
    SCOPED_TRACE(n);
    std::string_view line = Line(n);
    std::size_t mnemonicEnd = Mnemonic(line).size();
    std::string_view head = line.substr(mnemonicEnd, 22 - mnemonicEnd);
    if (std::size_t start = head.find_first_not_of(' '); start != std::string_view::npos) {
      std::string_view operand = head.substr(start, head.find_last_not_of(' ') - start + 1);
      std::size_t end = mnemonicEnd + start + operand.size();
      EXPECT_TRUE(kOperands.contains(operand)) << operand;
      if (operand.ends_with("mem")) {
        EXPECT_EQ(end, 20u);
      }
      EXPECT_LE(end, 21u);
    }
    std::size_t code = line.find(kMachineCode);
    ASSERT_NE(code, std::string_view::npos);
    EXPECT_EQ(line.find(kMachineCode, code + 1), std::string_view::npos);
    EXPECT_GE(code, 52u);
    EXPECT_LE(code, 58u);
    EXPECT_EQ(line[code - 1], ' ');
    EXPECT_NE(line.substr(22, code - 22).find_first_not_of(' '), std::string_view::npos);
    std::string_view rest = line.substr(code + kMachineCode.size());
    ASSERT_TRUE(rest.starts_with("  ") && rest.ends_with("  "));
    EXPECT_TRUE(IsEncoding(rest.substr(2, rest.size() - 4))) << rest;
  }
}

}  // namespace
}  // namespace quenstrel
