#include "shell/win32/controls_win.h"

#include <windows.h>

namespace quenstrel {

bool Button::Create(const ControlSetup& setup) {
  // A plain push button: none is the default button.
  return CreateStandard(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, setup);
}

void Button::OnNotify(int code) {
  if (code == BN_CLICKED) RaiseEvent(onClick);
}

}  // namespace quenstrel
