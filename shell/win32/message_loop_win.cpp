#include "shell/win32/message_loop_win.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace quenstrel {
namespace {

int handlerDepth = 0;
std::vector<std::function<void()>> afterHandlers;

LRESULT CALLBACK Procedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
  if (id == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (auto* control = static_cast<Control*>(create->lpCreateParams)) {
      control->Attach(window, false);
    }
  }
  Control* control = Control::Of(window);
  if (!control) return DefWindowProcW(window, id, wParam, lParam);
  const ControlMessage message{id, wParam, lParam};
  if (id == WM_NCDESTROY) {
    const LRESULT result = control->CallOriginal(message);
    control->Forget();
    return result;
  }
  if (const std::optional<std::intptr_t> handled = control->OnMessage(message)) return *handled;
  return control->CallOriginal(message);
}

bool IsEscapeFor(HWND mainWindow, const MSG& msg) {
  return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE &&
         (msg.hwnd == mainWindow || IsChild(mainWindow, msg.hwnd));
}

// The same treatment in the loop and in the pump: Esc closes the window
// before any control sees it (a multi-line edit asks for every key and would
// keep it); the dialog manager moves the focus on Tab.
void Dispatch(MSG& msg, HWND mainWindow) {
  if (mainWindow) {
    if (IsEscapeFor(mainWindow, msg)) {
      SendMessageW(mainWindow, WM_CLOSE, 0, 0);
      return;
    }
    if (IsDialogMessageW(mainWindow, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Passes pump once per record, and mostly nothing is waiting. Under Wine
// even a look at the queue's state is a round trip to the server (about
// 5 us, more than a record's search), so the queue is looked at no more
// than once a millisecond: waiting events still run within a millisecond.
bool TimeToLook() {
  static const LONGLONG interval = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart / 1000;
  }();
  static LONGLONG next = 0;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (now.QuadPart < next) return false;
  next = now.QuadPart + interval;
  return true;
}

}  // namespace

void* WindowProcedure() { return reinterpret_cast<void*>(&Procedure); }

void RaiseEvent(const std::function<void()>& handler) {
  if (!handler) return;
  ++handlerDepth;
  handler();
  if (--handlerDepth > 0) return;
  std::vector<std::function<void()>> actions = std::exchange(afterHandlers, {});
  for (const std::function<void()>& action : actions) action();
}

bool HandlerRunning() { return handlerDepth > 0; }

void WhenHandlersDone(std::function<void()> action) {
  if (handlerDepth == 0) {
    action();
  } else {
    afterHandlers.push_back(std::move(action));
  }
}

int RunMessageLoop(const Control& mainWindow) {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    Dispatch(msg, mainWindow.handle());
  }
}

bool MessagesWaiting() { return TimeToLook() && HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

void PumpPendingMessages(const Control& mainWindow) {
  if (MessagesWaiting()) DispatchWaitingMessages(mainWindow);
}

void DispatchWaitingMessages(const Control& mainWindow) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) return;  // left for the loop
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg, mainWindow.handle());
  }
}

}  // namespace quenstrel
