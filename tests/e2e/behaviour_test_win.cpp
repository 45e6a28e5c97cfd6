// The running program driven from outside: first run, the three searches,
// the keyboard, and closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

class RunningAppTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(223)); }

  HWND Query() const { return app.Control(id::编辑框_查询); }
  HWND Description() const { return app.Control(id::编辑框_功能); }
  std::string DescriptionText() const { return app.Text(Description()); }
  LRESULT FirstVisibleLine() const {
    return SendMessageW(Description(), EM_GETFIRSTVISIBLELINE, 0, 0);
  }
  DWORD CaretPosition() const {
    DWORD start = 0, end = 0;
    SendMessageW(Description(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == end ? start : ~0u;
  }
  bool DescriptionBecomes(const std::string& expected) const {
    return WaitUntil([&] { return DescriptionText() == expected; });
  }

  RunningApp app;
};

TEST_F(RunningAppTest, AFirstRunListsTheBuiltInCatalogueAndWritesItSorted) {
  EXPECT_EQ(app.CatalogueBytes(), FirstRunFile());
  const std::vector<Record> records = SortedBuiltInRecords();
  ASSERT_EQ(app.ListCount(), static_cast<int>(records.size()));
  int waits = 0;
  for (int i = 0; i < app.ListCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(app.ListItem(i), records[static_cast<std::size_t>(i)].mnemonic);
    waits += app.ListItem(i) == "WAIT";
  }
  EXPECT_EQ(app.ListItem(0), "AAA");
  EXPECT_EQ(app.ListItem(1), "AAD");
  EXPECT_EQ(waits, 3);
  EXPECT_EQ(app.Text(app.Control(id::标签_指令个数)), "共有：223条汇编指令！");
  EXPECT_EQ(SendMessageW(app.Control(id::列表框1), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(app.Focus(), Query());
}

TEST_F(RunningAppTest, TypingShowsTheRecordsWhoseMnemonicContainsTheQuery) {
  app.SetText(Query(), "movs");
  EXPECT_EQ(DescriptionText(), "MOVS" + std::string(11, ' ') +
                                   "串传送.(MOVSB传送字符.MOVSW传送字.MOVSD传送双字.)\r\n" +
                                   "MOVSX" + std::string(10, ' ') + "先符号扩展,再传送.\r\n");
  app.SetText(Query(), "mov");
  EXPECT_EQ(DescriptionText(), MnemonicResult("MOV"));
  app.SetText(Query(), "");
  EXPECT_EQ(DescriptionText(), "");

  // A result longer than the box ends scrolled to its end.
  app.SetText(Query(), "f");
  const std::string result = MnemonicResult("F");
  EXPECT_EQ(DescriptionText(), result);
  EXPECT_GT(FirstVisibleLine(), 0);
  EXPECT_EQ(CaretPosition(),
            static_cast<DWORD>(SendMessageW(Description(), WM_GETTEXTLENGTH, 0, 0)));
}

TEST_F(RunningAppTest, EnterSearchesTheDescriptionsByInitialsAndKeepsTheFocus) {
  const std::optional<std::string> fileBefore = app.CatalogueBytes();
  app.SetText(Query(), "jcq");
  ASSERT_EQ(DescriptionText(), "");
  app.PostKey(Query(), VK_RETURN);
  const std::string expected = ResultFor({"ASSUME", "BSWAP", "LAHF", "OUT", "SAHF", "XCHG"});
  ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 6);
  EXPECT_TRUE(DescriptionBecomes(expected)) << DescriptionText();
  EXPECT_EQ(app.Focus(), Query());
  EXPECT_EQ(app.Text(Query()), "jcq");
  EXPECT_EQ(app.CatalogueBytes(), fileBefore);  // no button was pressed
}

TEST_F(RunningAppTest, SelectingAnItemShowsEveryRecordThatContainsItFromTheTop) {
  app.SetText(Query(), "f");  // leaves the box scrolled down
  const int mov = app.FindListItem("MOV");
  ASSERT_GE(mov, 0);
  app.SelectListItem(mov);
  const std::string expected = MnemonicResult("MOV");
  EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 10);
  EXPECT_EQ(DescriptionText(), expected);
  EXPECT_EQ(FirstVisibleLine(), 0);
  EXPECT_EQ(CaretPosition(), 0u);
}

TEST_F(RunningAppTest, EnterInTheDescriptionBoxBreaksTheLine) {
  SendMessageW(Description(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"MOVSX"));
  SendMessageW(Description(), EM_SETSEL, 3, 3);
  app.PostKey(Description(), VK_RETURN);
  EXPECT_TRUE(DescriptionBecomes("MOV\r\nSX")) << DescriptionText();
}

TEST_F(RunningAppTest, TabVisitsTheEditBoxesTheListAndTheButtonsInTurn) {
  const HWND order[] = {Query(),
                        Description(),
                        app.Control(id::按钮_添加),
                        app.Control(id::按钮_修改),
                        app.Control(id::按钮_删除),
                        app.Control(id::列表框1),
                        Query()};
  ASSERT_EQ(app.Focus(), order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    SCOPED_TRACE(i);
    app.PostKey(app.Focus(), VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == order[i]; }, 5000));
  }
}

TEST_F(RunningAppTest, TheFocusComesBackToItsControlWhenTheWindowIsActivatedAgain) {
  app.PostKey(Query(), VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return app.Focus() == Description(); }, 5000));
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 5000));
  SetForegroundWindow(app.Window());
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == Description(); }, 5000));
  DestroyWindow(other);
}

// Each closes its own program: Esc is taken wherever the focus is.
TEST(ClosingTest, EscEndsTheProgramFromTheListAndFromTheDescriptionBox) {
  for (int control : {id::列表框1, id::编辑框_功能, id::编辑框_查询}) {
    SCOPED_TRACE(control);
    RunningApp app;
    ASSERT_TRUE(app.Start(223));
    app.PostKey(app.Control(control), VK_ESCAPE);
    EXPECT_EQ(app.WaitForExit(10000), std::optional<unsigned long>(0));
  }
}

struct Typing {
  RunningApp* app;
  HWND query;
  std::atomic<bool> done;
};

DWORD WINAPI TypeF(void* param) {
  auto* typing = static_cast<Typing*>(param);
  typing->app->SetText(typing->query, "f");  // returns when the handler has
  typing->done = true;
  return 0;
}

// Esc while a long search lets events run: the search finishes unseen, no
// control is touched after it is gone, and the program ends normally.
TEST(ClosingTest, EscDuringALongSearchEndsTheProgramCleanly) {
  std::string big;
  for (int i = 0; i < 100; ++i) big += FirstRunFile();
  RunningApp app(big);
  ASSERT_TRUE(app.Start(22300));
  HWND query = app.Control(id::编辑框_查询);
  HWND description = app.Control(id::编辑框_功能);
  SendMessageW(description, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));

  Typing typing{&app, query, {}};
  HANDLE thread = CreateThread(nullptr, 0, TypeF, &typing, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // The box is emptied first; reading it back is answered from inside the search.
  const bool searching =
      WaitUntil([&] { return SendMessageW(description, WM_GETTEXTLENGTH, 0, 0) == 0; });
  const bool stillSearching = !typing.done;
  app.PostKey(query, VK_ESCAPE);
  const std::optional<unsigned long> exit = app.WaitForExit(20000);
  WaitForSingleObject(thread, 20000);
  CloseHandle(thread);
  EXPECT_TRUE(searching);
  EXPECT_TRUE(stillSearching);
  EXPECT_EQ(exit, std::optional<unsigned long>(0));
}

}  // namespace
}  // namespace quenstrel::e2e
