// Hostile and large catalogue files on the running program, each placed as
// its catalogue file: the list and count are what the reading rules give, a
// search by mnemonic and one by initials show what they should, and an Add
// keeps every record it did not touch. Esc still ends the program in the
// middle of a long search. The files are made at build time by
// tools/gen_large_catalogue.py into QUENSTREL_LARGE_DIR.
#include <gtest/gtest.h>
// Without the common dialogs, whose FindText macro would rename the core's.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "catalogue/record.h"
#include "search/initials.h"
#include "search/text.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/encoding_win.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/support/reference.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;
using Texts = std::vector<std::string>;

// Start-ups and commands on the largest files take a second or so; these
// only keep a hung program from hanging the test.
constexpr int kLoadTimeoutMs = 120000;
constexpr unsigned kCommandTimeoutMs = 120000;
// Reading an item back is a round trip to the program (about half a
// millisecond under Wine), so long lists are compared at this many places,
// spread evenly, and at their last item.
constexpr int kComparedItems = 1000;
// The linker's default under Windows, and the least Wine gives a program.
constexpr std::uint32_t kStackReserve = 1 << 20;

std::string LargeFile(const char* name) {
  const std::optional<std::string> bytes =
      ReadWholeFile(BuildTreePath((std::string(QUENSTREL_LARGE_DIR) + name).c_str()));
  EXPECT_TRUE(bytes.has_value()) << name;
  return bytes.value_or("");
}

// Gives the program copy in `app`'s run directory a stack of `bytes`, as its
// header asks the loader; the sort must not need more, whatever the order.
bool SetStackReserve(const RunningApp& app, std::uint32_t bytes) {
  const std::wstring program = app.RunDirectory() + L"\\Quenstrel.exe";
  HANDLE file = CreateFileW(program.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS32 nt{};
  DWORD done = 0;
  bool ok = ReadFile(file, &dos, sizeof dos, &done, nullptr) && done == sizeof dos &&
            SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) == DWORD(dos.e_lfanew) &&
            ReadFile(file, &nt, sizeof nt, &done, nullptr) && done == sizeof nt &&
            nt.Signature == IMAGE_NT_SIGNATURE &&
            nt.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC;
  if (ok) {
    nt.OptionalHeader.SizeOfStackReserve = bytes;
    ok = SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) == DWORD(dos.e_lfanew) &&
         WriteFile(file, &nt, sizeof nt, &done, nullptr) && done == sizeof nt;
  }
  CloseHandle(file);
  return ok;
}

std::wstring ListItemWide(const RunningApp& app, int index) {
  HWND list = app.Control(id::列表框1);
  DWORD_PTR length = 0;
  SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 10000,
                      &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 10000, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

std::string CountCaption(std::size_t count) {
  return "共有：" + std::to_string(count) + "条汇编指令！";
}

// One item per record, in order: its mnemonic as the program converts it
// for the list. Texts with invalid GBK do not come back as the same bytes,
// so items are compared as UTF-16.
void ExpectListed(const RunningApp& app, const Texts& records) {
  const int count = static_cast<int>(records.size());
  ASSERT_EQ(app.ListCount(), count);
  EXPECT_EQ(app.Text(app.Control(id::标签_指令个数)), CountCaption(records.size()));
  std::vector<int> places;
  for (int i = 0; i < count; i += std::max(1, count / kComparedItems)) places.push_back(i);
  if (count > 0 && places.back() != count - 1) places.push_back(count - 1);
  for (int i : places) {
    const std::string& record = records[static_cast<std::size_t>(i)];
    if (ListItemWide(app, i) != WideFromGbk(TakeField(record, " ", 1))) {
      ADD_FAILURE() << "item " << i << " of " << count << " is not " << record.substr(0, 40);
      return;
    }
  }
}

std::wstring DescriptionWide(const RunningApp& app) {
  return WideText(app.Control(id::编辑框_功能));
}

struct Case {
  const char* file;
  const char* typed;     // into the query box: a search by mnemonic
  const char* initials;  // then Enter: a search of the descriptions
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.file; }

const Case kCases[] = {
    {"hostile_lines.txt", "mov", "jcq"},   // invalid GBK, lone lead bytes, CRs and LFs
    {"lf_only.txt", "mov", "jcq"},         // one line: no CR LF anywhere
    {"one_mb_line.txt", "big", "ab"},      // a record of a megabyte
    {"random_bytes.txt", "a", "a"},        // ends at its first NUL
    {"random_no_nul.txt", "xy", "abc"},    // 10 MB in a hundred records
    {"adversarial_200000.txt", "aab", "jcq"},  // the worst order for a middle pivot
    {"copies_1000.txt", "movs", "jcq"},    // 1000 times the built-in catalogue
};

class LargeCatalogueTest : public testing::TestWithParam<Case> {};

TEST_P(LargeCatalogueTest, ListsSearchesAndAddsLosingNothing) {
  const Case& c = GetParam();
  const std::string bytes = LargeFile(c.file);
  ASSERT_FALSE(bytes.empty());
  const Texts records = reference::Load(bytes);
  RunningApp app(bytes);
  ASSERT_TRUE(SetStackReserve(app, kStackReserve));
  // The window shows once the load is over; the list is compared below.
  ASSERT_TRUE(app.Start(-1, kLoadTimeoutMs));
  EXPECT_TRUE(app.CatalogueBytes() == bytes);  // loading never rewrites
  ExpectListed(app, records);

  HWND query = app.Control(id::编辑框_查询);
  const std::string byMnemonic = reference::Search(records, UpperCaseText(c.typed), 1);
  const std::string byInitials = reference::Search(records, FoldInitials(c.initials), 2);
  EXPECT_FALSE(byMnemonic.empty() || byInitials.empty()) << "pick queries that find something";
  app.SetText(query, c.typed);
  EXPECT_TRUE(DescriptionWide(app) == WideFromGbk(byMnemonic));

  app.SetText(query, c.initials);
  SetWideText(app.Control(id::编辑框_功能), L"x");
  app.PostKey(query, VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return DescriptionWide(app) != L"x"; }, kLoadTimeoutMs));
  EXPECT_TRUE(DescriptionWide(app) == WideFromGbk(byInitials));

  app.SetText(app.Control(id::编辑框_功能), "zzz  新的");
  ASSERT_TRUE(Click(app, id::按钮_添加, kCommandTimeoutMs));
  EXPECT_EQ(app.Text(app.Control(id::编辑框_功能)), "亲：添加汇编指令成功！");
  Texts added = records;
  added.push_back("ZZZ   新的");
  const std::optional<std::string> written = app.CatalogueBytes();
  ASSERT_TRUE(written.has_value());
  EXPECT_TRUE(*written == reference::FileText(added));
  Texts expected = added;
  std::sort(expected.begin(), expected.end());
  const Texts reloaded = reference::Load(*written);
  EXPECT_TRUE(reloaded == expected) << reloaded.size() << " records, not " << expected.size();
  ExpectListed(app, reloaded);
  EXPECT_EQ(app.WaitForExit(0), std::nullopt);  // still running
}

INSTANTIATE_TEST_SUITE_P(Files, LargeCatalogueTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                           const std::string_view file = param.param.file;
                           return std::string(file.substr(0, file.find('.')));
                         });

// The description search on the 1000x catalogue lets keys run inside it:
// a letter typed after Enter runs its own search nested in it, which empties
// the box, and the outer result follows when the search resumes. Without
// that the letter would come last and leave the box empty. Esc typed after
// Enter in the same way ends the program normally, inside the query box's
// own key handling, once the search has finished unseen.
TEST(LargeCatalogueClosingTest, KeysRunDuringADescriptionSearchAndEscEndsTheProgram) {
  const std::string bytes = LargeFile("copies_1000.txt");
  const Texts records = reference::Load(bytes);
  const std::string result = reference::Search(records, FoldInitials("jcq"), 2);
  RunningApp app(bytes);
  ASSERT_TRUE(app.Start(-1, kLoadTimeoutMs));
  ASSERT_EQ(app.ListCount(), static_cast<int>(records.size()));
  HWND query = app.Control(id::编辑框_查询);
  HWND description = app.Control(id::编辑框_功能);
  app.SetText(query, "jcq");
  app.PostKey(query, VK_RETURN);
  PostMessageW(query, WM_CHAR, 'x', 1);  // at the caret, which setting the text put first
  EXPECT_TRUE(WaitUntil(
      [&] { return app.Text(query) == "xjcq" && app.Text(description) == result; },
      kLoadTimeoutMs));

  app.SetText(query, "jcq");
  app.PostKey(query, VK_RETURN);
  app.PostKey(query, VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(kLoadTimeoutMs), std::optional<unsigned long>(0));
}

}  // namespace
}  // namespace quenstrel::e2e
