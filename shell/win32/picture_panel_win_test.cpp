// 画板1 on its own, in this process: what it paints, read back through
// WM_PRINTCLIENT, and which presses it reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resources.h"
#include "shell/png_image.h"
#include "shell/win32/controls_win.h"

namespace quenstrel {
namespace {

constexpr int kWidth = 344, kHeight = 152;

std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
}

class PicturePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PicturePanel::RegisterWindowClass());
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(panel.Create({parent, 108, 0, 0, kWidth, kHeight, "", {}}));
    panel.decode = DecodePngPicture;
  }
  void TearDown() override { DestroyWindow(parent); }

  // What the panel paints, as 0x00RRGGBB pixels from the top row.
  std::vector<std::uint32_t> Painted() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0xDEADBEEF);
    std::memcpy(bits, pixels.data(), pixels.size() * 4);
    SendMessageW(panel.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
  }
  static std::uint32_t ButtonFace() {
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  }

  HWND parent = nullptr;
  PicturePanel panel;
};

// Natural size from the top-left corner, clipped at the panel's edges: the
// format picture leaves a strip and a band, the delete picture is cut off
// below.
TEST_F(PicturePanelTest, DrawsThePictureFromTheTopLeftCornerAndButtonFaceBeyondIt) {
  for (std::string_view file : {FormatPicture(), DeletePicture()}) {
    PngImage image;
    ASSERT_TRUE(DecodePng(file, image));
    SCOPED_TRACE(std::to_string(image.width) + " x " + std::to_string(image.height));
    panel.SetPicture(file);
    const std::vector<std::uint32_t> painted = Painted();
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        std::uint32_t expected = ButtonFace();
        if (x < image.width && y < image.height) {
          const std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
          expected = Rgb(p[0], p[1], p[2]);
        }
        wrong += painted[static_cast<std::size_t>(y) * kWidth + x] != expected;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(PicturePanelTest, APictureThatDoesNotDecodeLeavesOnlyButtonFace) {
  const std::string_view format = FormatPicture();
  for (std::string_view file :
       {std::string_view("not a picture"), format.substr(0, 2000), std::string_view()}) {
    SCOPED_TRACE(file.size());
    panel.SetPicture(format);
    panel.SetPicture(file);
    const std::vector<std::uint32_t> painted = Painted();
    EXPECT_EQ(std::count(painted.begin(), painted.end(), ButtonFace()), kWidth * kHeight);
  }
}

TEST_F(PicturePanelTest, OnlyTheLeftButtonPressesIt) {
  int presses = 0;
  panel.onPressed = [&] { ++presses; };
  const LPARAM at = MAKELPARAM(340, 150);  // beyond the picture
  for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_LBUTTONUP}) {
    SendMessageW(panel.handle(), message, 0, at);
  }
  EXPECT_EQ(presses, 0);
  SendMessageW(panel.handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace quenstrel
