#include "shell/win32/controls_win.h"

#include <windows.h>

namespace quenstrel {

bool GroupBox::Create(const ControlSetup& setup) {
  caption_ = setup.text;
  // WS_EX_CONTROLPARENT lets Tab reach the controls inside.
  return CreateStandard(L"BUTTON", WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT, setup);
}

HBRUSH GroupBox::OnColour(HDC dc) {
  SetTextColor(dc, RGB(caption_.red, caption_.green, caption_.blue));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

std::optional<std::intptr_t> GroupBox::OnMessage(const ControlMessage& message) {
  switch (message.id) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
      // The controls inside report to their parent, which would drop it: the
      // main window answers for them.
      return SendMessageW(GetParent(handle_), message.id, message.wParam, message.lParam);
    default:
      return std::nullopt;
  }
}

}  // namespace quenstrel
