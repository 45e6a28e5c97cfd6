// 画板1 in the running program: the labels show their pictures over the
// description box, a press on the panel hides it, and only the left button
// counts. What the panel shows is read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "resources/resources.h"
#include "shell/png_image.h"
#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kDescriptionBlue = 0x0060C0;

// What the screen shows of a window's client area: 0x00RRGGBB, rows from the top.
std::vector<std::uint32_t> ScreenPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right, height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  std::vector<std::uint32_t> pixels;
  if (bitmap && BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
    GdiFlush();
    pixels.resize(static_cast<std::size_t>(width) * height);
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::uint32_t ButtonFace() {
  const COLORREF c = GetSysColor(COLOR_BTNFACE);
  return std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}

// How many of the panel's pixels on screen differ from `file` drawn at its
// natural size from the top-left corner over button face; -1 when unreadable.
int WrongPixels(HWND panel, std::string_view file) {
  PngImage image;
  if (!DecodePng(file, image)) return -1;
  RECT client{};
  GetClientRect(panel, &client);
  const std::vector<std::uint32_t> shown = ScreenPixels(panel);
  if (shown.size() != static_cast<std::size_t>(client.right) * client.bottom) return -1;
  int wrong = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      std::uint32_t expected = ButtonFace();
      if (x < image.width && y < image.height) {
        const std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
        expected = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
      }
      wrong += shown[static_cast<std::size_t>(y) * client.right + x] != expected;
    }
  }
  return wrong;
}

class PicturePanelOnScreen : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(223)); }

  HWND Panel() const { return app.Control(id::画板1); }
  HWND Description() const { return app.Control(id::编辑框_功能); }
  bool PanelShown() const { return IsWindowVisible(Panel()) != FALSE; }

  // A press and release of one mouse button, posted as a click arrives;
  // at the control's centre unless a point is given.
  void Click(int control, bool left = true, POINT at = {-1, -1}) const {
    HWND window = app.Control(control);
    if (at.x < 0) {
      RECT client{};
      GetClientRect(window, &client);
      at = {client.right / 2, client.bottom / 2};
    }
    const LPARAM place = MAKELPARAM(at.x, at.y);
    PostMessageW(window, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON,
                 place);
    PostMessageW(window, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, place);
  }
  bool ShowsOnScreen(std::string_view file) const {
    return WaitUntil([&] { return PanelShown() && WrongPixels(Panel(), file) == 0; }, 5000);
  }
  // Returns once the program has handled what was posted to it before: a
  // caret move posted behind it has arrived. The description box must hold
  // some text.
  void Drain() const {
    const auto caret = [&] {
      DWORD start = 0, end = 0;
      SendMessageW(Description(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      return start;
    };
    const DWORD next = caret() == 0 ? 1 : 0;
    PostMessageW(Description(), EM_SETSEL, next, next);
    ASSERT_TRUE(WaitUntil([&] { return caret() == next; }, 5000));
  }

  RunningApp app;
};

TEST_F(PicturePanelOnScreen, EachLabelShowsItsPictureAndAPressOnThePanelHidesIt) {
  EXPECT_FALSE(PanelShown());
  Click(id::透明标签1);
  EXPECT_TRUE(ShowsOnScreen(FormatPicture())) << WrongPixels(Panel(), FormatPicture());
  Click(id::透明标签2);
  EXPECT_TRUE(ShowsOnScreen(DeletePicture())) << WrongPixels(Panel(), DeletePicture());
  Click(id::透明标签1);
  EXPECT_TRUE(ShowsOnScreen(FormatPicture())) << WrongPixels(Panel(), FormatPicture());

  // Beyond the picture, on the button face, counts too.
  Click(id::画板1, true, {340, 148});
  EXPECT_TRUE(WaitUntil([&] { return !PanelShown(); }, 5000));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::vector<std::uint32_t> box = ScreenPixels(Description());
        return !box.empty() && box[box.size() / 2 + 100] == kWhite;
      },
      5000))
      << "the description box shows again";
}

TEST_F(PicturePanelOnScreen, ASearchWhileThePanelIsShownFillsTheBoxBeneathIt) {
  Click(id::透明标签2);
  ASSERT_TRUE(ShowsOnScreen(DeletePicture()));
  app.SetText(app.Control(id::编辑框_查询), "movs");
  EXPECT_EQ(app.Text(Description()), MnemonicResult("MOVS"));
  // The box has painted its new text, beneath the picture.
  UpdateWindow(Description());
  Drain();
  EXPECT_TRUE(PanelShown());
  EXPECT_EQ(WrongPixels(Panel(), DeletePicture()), 0);

  Click(id::画板1);
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::vector<std::uint32_t> box = ScreenPixels(Description());
        return std::count(box.begin(), box.end(), kDescriptionBlue) > 10;
      },
      5000))
      << "the result shows once the panel is hidden";
  EXPECT_FALSE(PanelShown());
}

TEST_F(PicturePanelOnScreen, OnlyTheLeftButtonCounts) {
  app.SetText(Description(), "x");  // for Drain
  Click(id::透明标签1, false);
  Click(id::透明标签2, false);
  Drain();
  EXPECT_FALSE(PanelShown());

  Click(id::透明标签1);
  ASSERT_TRUE(ShowsOnScreen(FormatPicture()));
  Click(id::透明标签2, false);
  Click(id::画板1, false);
  Drain();
  EXPECT_TRUE(PanelShown());
  EXPECT_EQ(WrongPixels(Panel(), FormatPicture()), 0);
}

}  // namespace
}  // namespace quenstrel::e2e
