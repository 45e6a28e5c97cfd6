#include "shell/win32/controls_win.h"

#include <windows.h>

#include "shell/win32/encoding_win.h"

namespace quenstrel {

bool Label::Create(const ControlSetup& setup) {
  text_ = setup.text;
  // One line, no wrapping, vertically centred.
  return CreateStandard(L"STATIC", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 0, setup);
}

void Label::SetCaption(const std::string& text) {
  if (handle_) SetWindowTextW(handle_, WideFromGbk(text).c_str());
}

HBRUSH Label::OnColour(HDC dc) {
  SetTextColor(dc, RGB(text_.red, text_.green, text_.blue));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace quenstrel
