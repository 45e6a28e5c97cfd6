#include "shell/win32/main_window_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shell/win32/message_loop_win.h"

namespace quenstrel {
namespace {

// The real window, in this process and hidden; its messages run when the
// test pumps them.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window.Create(SW_HIDE)); }
  void TearDown() override {
    if (window.handle()) DestroyWindow(window.handle());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // The pump looks at the queue at most once a millisecond.
  void Pump() {
    Sleep(2);
    window.ProcessPendingEvents();
  }
  static void PostKey(WindowHandle target, WPARAM key) { PostMessageW(target, WM_KEYDOWN, key, 1); }
  static bool QuitWaiting(int* code = nullptr) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
    if (code) *code = static_cast<int>(msg.wParam);
    return true;
  }

  Win32MainWindow window;
};

TEST_F(MainWindowTest, PendingEventsRunButTheQuitRequestStaysForTheLoop) {
  int changes = 0;
  window.编辑框_查询.onChange = [&] { ++changes; };
  PostMessageW(window.编辑框_查询.handle(), WM_CHAR, 'm', 1);
  PostQuitMessage(7);
  PostMessageW(window.编辑框_查询.handle(), WM_CHAR, 'o', 1);

  Pump();
  EXPECT_EQ(window.QueryText(), "mo");
  EXPECT_EQ(changes, 2);
  int code = 0;
  ASSERT_TRUE(QuitWaiting(&code));
  EXPECT_EQ(code, 7);
  Pump();  // returns at once in front of the quit
  EXPECT_TRUE(QuitWaiting());
}

TEST_F(MainWindowTest, EventsWaitingLooksForThePumpThatFollows) {
  Sleep(2);
  EXPECT_FALSE(window.EventsWaiting());
  PostMessageW(window.编辑框_查询.handle(), WM_CHAR, 'm', 1);
  Sleep(2);
  ASSERT_TRUE(window.EventsWaiting());
  // The pump right after must dispatch what was found, though the queue was
  // looked at less than a millisecond ago.
  window.ProcessPendingEvents();
  EXPECT_EQ(window.QueryText(), "m");
}

// Esc in the middle of a pass: the handler goes on with the window hidden,
// and the window is destroyed only after the handler has returned.
TEST_F(MainWindowTest, EscDuringAHandlerClosesTheWindowAfterIt) {
  const HWND frame = window.handle();
  bool visibleAfterEsc = true;
  bool existedAfterEsc = false;
  window.编辑框_查询.onChange = [&] {
    PostKey(window.编辑框_功能.handle(), VK_ESCAPE);
    Pump();
    visibleAfterEsc = IsWindowVisible(frame) != 0;
    existedAfterEsc = IsWindow(frame) != 0;
    window.SetDescriptionText("late");
    Pump();
  };
  ShowWindow(frame, SW_SHOWNOACTIVATE);
  SetWindowTextW(window.编辑框_查询.handle(), L"m");

  EXPECT_FALSE(visibleAfterEsc);
  EXPECT_TRUE(existedAfterEsc);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(window.handle(), nullptr);
  EXPECT_TRUE(QuitWaiting());
}

TEST_F(MainWindowTest, EscClosesTheWindowFromEveryControl) {
  const Control* controls[] = {&window.编辑框_功能, &window.编辑框_查询, &window.列表框1,
                               &window.按钮_删除, &window};
  for (std::size_t i = 0; i < std::size(controls); ++i) {
    SCOPED_TRACE(i);
    const Control* control = controls[i];
    if (!window.handle()) {
      ASSERT_TRUE(window.Create(SW_HIDE));
    }
    const HWND frame = window.handle();
    PostKey(control->handle(), VK_ESCAPE);
    Pump();
    EXPECT_FALSE(IsWindow(frame));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST_F(MainWindowTest, TheWindowIgnoresCallsAfterItIsDestroyed) {
  window.AddListItem("MOV");
  DestroyWindow(window.handle());
  window.ClearList();
  window.AddListItem("AAA");
  window.SetCountCaption("x");
  window.SetDescriptionText("x");
  window.AppendDescriptionText("y");
  window.FocusQuery();
  window.ShowPicturePanel();
  window.SetPanelPicture("png");
  Pump();
  EXPECT_EQ(window.QueryText(), "");
  EXPECT_EQ(window.DescriptionText(), std::optional<std::string>(""));
  EXPECT_EQ(window.SelectedListIndex(), -1);
  EXPECT_EQ(window.ListItemText(0), "");
}

TEST_F(MainWindowTest, DescriptionTextIsNothingWhenGbkCannotHoldIt) {
  const HWND box = window.编辑框_功能.handle();
  SetWindowTextW(box, L"MOV \u4F20\u9001");
  EXPECT_EQ(window.DescriptionText(), std::optional<std::string>("MOV 传送"));
  SetWindowTextW(box, L"MOV \U0001F600");
  EXPECT_EQ(window.DescriptionText(), std::nullopt);
}

TEST_F(MainWindowTest, AppendGoesAfterTheLastCharacterWithoutUndo) {
  const HWND box = window.编辑框_功能.handle();
  window.SetDescriptionText("AAA\r\nAAD");
  SendMessageW(box, EM_SETSEL, 0, 1);  // a caret elsewhere does not matter
  window.AppendDescriptionText("\r\n传送");

  EXPECT_EQ(window.DescriptionText(), std::optional<std::string>("AAA\r\nAAD\r\n传送"));
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 12u);
  EXPECT_EQ(end, 12u);
  EXPECT_FALSE(SendMessageW(box, EM_CANUNDO, 0, 0));

  window.SetDescriptionText("BSWAP");
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

// Fonts cannot be compared from another process, so they are checked here.
TEST_F(MainWindowTest, ControlsUseTheDefaultGuiFontAndTheRedLabelsTheirOwn) {
  const auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  const Control* standard[] = {&window.分组框1,       &window.列表框1,     &window.分组框2,
                               &window.标签1,         &window.编辑框_查询, &window.标签2,
                               &window.分组框3,       &window.编辑框_功能, &window.分组框4,
                               &window.标签_指令个数, &window.按钮_添加,   &window.按钮_修改,
                               &window.按钮_删除};
  for (std::size_t i = 0; i < std::size(standard); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(SendMessageW(standard[i]->handle(), WM_GETFONT, 0, 0), guiFont);
  }
  for (const Control* label : {&window.透明标签1, &window.透明标签2}) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label->handle(), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_EQ(logFont.lfHeight, -14);  // the character height
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(logFont.lfCharSet, GB2312_CHARSET);
  }
}

}  // namespace
}  // namespace quenstrel
