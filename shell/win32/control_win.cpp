#include "shell/win32/controls_win.h"

#include <windows.h>

#include <unordered_map>

#include "shell/win32/encoding_win.h"
#include "shell/win32/message_loop_win.h"

namespace quenstrel {
namespace {

// Every message of every control looks its wrapper up. Kept here rather than
// as a window property: under Wine each property look-up is a round trip to
// the server (about 45 us), which made filling a large list take seconds. A
// window's messages come on the thread that made it, and so do its wrappers.
std::unordered_map<HWND, Control*>& Wrappers() {
  thread_local std::unordered_map<HWND, Control*> wrappers;
  return wrappers;
}

}  // namespace

Control* Control::Of(WindowHandle window) {
  const auto& wrappers = Wrappers();
  const auto found = wrappers.find(window);
  return found == wrappers.end() ? nullptr : found->second;
}

bool Control::Visible() const { return handle_ && IsWindowVisible(handle_); }

std::intptr_t Control::CallOriginal(const ControlMessage& message) {
  const auto wParam = static_cast<WPARAM>(message.wParam);
  const auto lParam = static_cast<LPARAM>(message.lParam);
  if (!originalProc_) return DefWindowProcW(handle_, message.id, wParam, lParam);
  return CallWindowProcW(reinterpret_cast<WNDPROC>(originalProc_), handle_, message.id, wParam,
                         lParam);
}

void Control::Attach(WindowHandle window, bool subclass) {
  handle_ = window;
  Wrappers()[window] = this;
  if (!subclass) return;
  originalProc_ = reinterpret_cast<void*>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcedure())));
}

void Control::Forget() {
  if (!handle_) return;
  Wrappers().erase(handle_);
  handle_ = nullptr;
}

bool Control::CreateStandard(const wchar_t* className, unsigned long style, unsigned long exStyle,
                             const ControlSetup& setup) {
  const std::wstring caption = WideFromGbk(setup.caption);
  HWND window = CreateWindowExW(exStyle, className, caption.c_str(), WS_CHILD | style, setup.x,
                                setup.y, setup.width, setup.height, setup.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.id)),
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return false;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  Attach(window, true);
  return true;
}

bool Control::CreateOwn(const wchar_t* className, unsigned long style, unsigned long exStyle,
                        const ControlSetup& setup) {
  const std::wstring caption = WideFromGbk(setup.caption);
  // The procedure ties the window to `this` at WM_NCCREATE.
  HMENU id = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.id)) : nullptr;
  return CreateWindowExW(exStyle, className, caption.c_str(), style, setup.x, setup.y, setup.width,
                         setup.height, setup.parent, id, GetModuleHandleW(nullptr), this) != nullptr;
}

}  // namespace quenstrel
