#include "shell/win32/controls_win.h"

#include <windows.h>

#include "shell/png_image.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/message_loop_win.h"

namespace quenstrel {

std::optional<Picture> DecodePngPicture(std::string_view fileBytes) {
  PngImage image;
  if (!DecodePng(fileBytes, image)) return std::nullopt;
  Picture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.pixels.resize(image.rgba.size() / 4);
  // A 32-bit DIB pixel is blue, green, red and an unused byte: 0x00RRGGBB.
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const std::uint8_t* p = &image.rgba[i * 4];
    picture.pixels[i] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
  }
  return picture;
}

bool PicturePanel::RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // No CS_DBLCLKS: every press arrives as WM_LBUTTONDOWN.
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(WindowProcedure());
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kPicturePanelClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool PicturePanel::Create(const ControlSetup& setup) {
  // Created hidden, and above the edit box that shares its place.
  return CreateOwn(kPicturePanelClass, WS_CHILD | WS_CLIPSIBLINGS, 0, setup);
}

void PicturePanel::Show() {
  if (handle_) ShowWindow(handle_, SW_SHOW);
}

void PicturePanel::Hide() {
  if (handle_) ShowWindow(handle_, SW_HIDE);
}

void PicturePanel::SetPicture(std::string_view fileBytes) {
  picture_ = decode ? decode(fileBytes) : std::nullopt;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

std::optional<std::intptr_t> PicturePanel::OnMessage(const ControlMessage& message) {
  switch (message.id) {
    case WM_LBUTTONDOWN:
      RaiseEvent(onPressed);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills everything
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT:  // PrintWindow and tests draw it into their own DC
      PaintOn(reinterpret_cast<HDC>(message.wParam));
      return 0;
    default:
      return std::nullopt;
  }
}

void PicturePanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  PaintOn(dc);
  EndPaint(handle_, &ps);
}

void PicturePanel::PaintOn(HDC dc) {
  RECT client;
  GetClientRect(handle_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const bool drawable =
      picture_ && picture_->width > 0 && picture_->height > 0 &&
      picture_->pixels.size() == static_cast<std::size_t>(picture_->width) * picture_->height;
  if (drawable) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture_->width;
    info.bmiHeader.biHeight = -picture_->height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // At its natural size from the top-left corner; the panel clips it.
    SetDIBitsToDevice(
        dc, 0, 0, static_cast<DWORD>(picture_->width), static_cast<DWORD>(picture_->height), 0, 0,
        0, static_cast<UINT>(picture_->height), picture_->pixels.data(), &info, DIB_RGB_COLORS);
  }
}

}  // namespace quenstrel
