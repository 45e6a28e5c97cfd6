#include "shell/win32/controls_win.h"

#include <windows.h>

namespace quenstrel {

TransparentLabel::~TransparentLabel() {
  if (font_) DeleteObject(font_);
}

bool TransparentLabel::Create(const ControlSetup& setup) {
  text_ = setup.text;
  // Without SS_NOTIFY a static lets the mouse through to its parent.
  const DWORD style = WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY;
  if (!CreateStandard(L"STATIC", style, 0, setup)) return false;
  // A negative height asks for the character height; the system picks the face.
  if (font_) DeleteObject(font_);
  font_ =
      CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"");
  if (font_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return true;
}

HBRUSH TransparentLabel::OnColour(HDC dc) {
  SetTextColor(dc, RGB(text_.red, text_.green, text_.blue));
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

std::optional<std::intptr_t> TransparentLabel::OnMessage(const ControlMessage& message) {
  switch (message.id) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32651)));  // IDC_HELP
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the static class turns a quick second press into this
      RaiseEvent(onPressed);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace quenstrel
