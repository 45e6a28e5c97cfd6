// The window and its sixteen controls as the running program builds them.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

// (style & mask) == value, and the same for the extended style.
struct Bits {
  DWORD mask, value;
};

struct ExpectedControl {
  int id;
  int parent;  // 0: the main window
  const wchar_t* windowClass;
  Rect rect;
  const char* caption;
  Bits style, exStyle;
  bool visible;
};

constexpr Bits kGroupBox{BS_TYPEMASK | WS_TABSTOP, BS_GROUPBOX};
constexpr Bits kControlParent{WS_EX_CONTROLPARENT, WS_EX_CONTROLPARENT};
constexpr Bits kLabel{SS_TYPEMASK | SS_CENTERIMAGE | WS_BORDER | WS_TABSTOP,
                      SS_LEFTNOWORDWRAP | SS_CENTERIMAGE};
constexpr Bits kNoEdge{WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0};
constexpr Bits kTransparent{SS_TYPEMASK | SS_CENTERIMAGE | SS_NOTIFY | WS_TABSTOP,
                            SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY};
constexpr Bits kButton{BS_TYPEMASK | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP};
constexpr Bits kList{
    LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_MULTIPLESEL |
        LBS_EXTENDEDSEL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
constexpr Bits kQuery{ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | ES_PASSWORD | WS_TABSTOP,
                      ES_AUTOHSCROLL | WS_TABSTOP};
constexpr Bits kSunken{WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, WS_EX_CLIENTEDGE};
constexpr Bits kDescription{
    ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL | ES_READONLY | WS_HSCROLL |
        WS_VSCROLL | WS_TABSTOP,
    ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP};
constexpr Bits kThinSunken{WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, WS_EX_STATICEDGE};
constexpr Bits kPanel{WS_TABSTOP | WS_BORDER, 0};
constexpr Bits kAny{0, 0};

const ExpectedControl kControls[] = {
    {id::分组框1, 0, L"Button", {8, 16, 120, 248}, "指令集", kGroupBox, kControlParent, true},
    {id::列表框1, id::分组框1, L"ListBox", {8, 16, 104, 224}, "", kList, kAny, true},
    {id::分组框2, 0, L"Button", {144, 16, 360, 57}, "输入查询", kGroupBox, kControlParent, true},
    {id::标签1, id::分组框2, L"Static", {36, 19, 86, 24}, "输入首拼音查询", kLabel, kNoEdge, true},
    {id::编辑框_查询, id::分组框2, L"Edit", {136, 21, 102, 24}, "", kQuery, kSunken, true},
    {id::标签2, id::分组框2, L"Static", {254, 19, 72, 24}, "回车找注解", kLabel, kNoEdge, true},
    {id::分组框3, 0, L"Button", {144, 87, 360, 176}, "指令说明", kGroupBox, kControlParent, true},
    {id::画板1, id::分组框3, kPicturePanelClass, {8, 17, 344, 152}, "", kPanel, kNoEdge, false},
    {id::编辑框_功能, id::分组框3, L"Edit", {7, 16, 339, 147}, "", kDescription, kThinSunken, true},
    {id::分组框4, 0, L"Button", {8, 264, 496, 38}, "数据操作", kGroupBox, kControlParent, true},
    {id::标签_指令个数, id::分组框4, L"Static", {11, 15, 125, 18}, nullptr, kLabel, kNoEdge, true},
    {id::按钮_添加, id::分组框4, L"Button", {137, 14, 88, 21}, "添加", kButton, kAny, true},
    {id::透明标签1, id::分组框4, L"Static", {230, 14, 40, 16}, "格式", kTransparent, kNoEdge, true},
    {id::按钮_修改, id::分组框4, L"Button", {269, 14, 88, 21}, "修改", kButton, kAny, true},
    {id::透明标签2, id::分组框4, L"Static", {360, 14, 40, 16}, "删除", kTransparent, kNoEdge, true},
    {id::按钮_删除, id::分组框4, L"Button", {401, 14, 88, 21}, "删除", kButton, kAny, true},
};

bool Above(HWND upper, HWND lower) {
  for (HWND h = GetWindow(upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == lower) return true;
  }
  return false;
}

LRESULT StandardItemHeight() {
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  DestroyWindow(list);
  return height;
}

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(223)); }
  RunningApp app;
};

TEST_F(LayoutTest, EveryControlHasItsParentPlaceSizeCaptionAndStyle) {
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(expected.id);
    HWND control = app.Control(expected.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), expected.parent ? app.Control(expected.parent) : app.Window());
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    EXPECT_EQ(_wcsicmp(name, expected.windowClass), 0) << "class";
    EXPECT_EQ(RunningApp::RectInParent(control), expected.rect);
    if (expected.caption) {
      EXPECT_EQ(app.Text(control), expected.caption);
    }
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE));
    EXPECT_EQ(style & expected.style.mask, expected.style.value) << std::hex << style;
    EXPECT_EQ(exStyle & expected.exStyle.mask, expected.exStyle.value) << std::hex << exStyle;
    EXPECT_EQ((style & WS_VISIBLE) != 0, expected.visible);
    EXPECT_EQ(style & WS_DISABLED, 0u);
  }
}

TEST_F(LayoutTest, ControlsAreStackedSizedAndLimitedAsDesigned) {
  EXPECT_TRUE(Above(app.Control(id::画板1), app.Control(id::编辑框_功能)));
  EXPECT_TRUE(Above(app.Control(id::透明标签1), app.Control(id::按钮_修改)));
  EXPECT_EQ(SendMessageW(app.Control(id::列表框1), LB_GETITEMHEIGHT, 0, 0),
            StandardItemHeight() + 1);
  for (int edit : {id::编辑框_查询, id::编辑框_功能}) {
    SCOPED_TRACE(edit);
    EXPECT_GE(static_cast<unsigned>(SendMessageW(app.Control(edit), EM_GETLIMITTEXT, 0, 0)),
              0x7FFFFFFEu);
  }
}

TEST_F(LayoutTest, TheWindowIsFixedCentredAndCaptioned) {
  HWND window = app.Window();
  EXPECT_EQ(app.Text(window), "Quenstrel" + std::string(36, ' ') + "作者wv3318k");
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 520);
  EXPECT_EQ(r.bottom - r.top, 332);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 520) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 332) / 2);
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME |
                      WS_POPUP | WS_CHILD | WS_DISABLED;
  EXPECT_EQ(style & frame, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0u);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

}  // namespace
}  // namespace quenstrel::e2e
