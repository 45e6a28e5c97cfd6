#include "shell/win32/main_window_win.h"

#include <windows.h>

#include "shell/win32/control_ids.h"
#include "shell/win32/message_loop_win.h"

namespace quenstrel {
namespace {

constexpr int kWidth = 520;  // frame and title bar included
constexpr int kHeight = 332;
constexpr int kIconId = 1;

std::string Caption() { return "Quenstrel" + std::string(36, ' ') + "作者wv3318k"; }

bool RegisterMainClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = reinterpret_cast<WNDPROC>(WindowProcedure());
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(kIconId));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool Win32MainWindow::Create(int showCommand) {
  if (!RegisterMainClass() || !PicturePanel::RegisterWindowClass()) return false;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  // A fixed frame with a minimize box and no maximize box.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateOwn(kMainWindowClass, style, 0, {nullptr, 0, x, y, kWidth, kHeight, Caption(), {}})) {
    return false;
  }
  if (!CreateControls()) {
    DestroyWindow(handle_);
    return false;
  }
  RaiseEvent(onCreated);
  if (!handle_) return false;
  // The first load filled the list with its redraw held: the window shows
  // with the list whole, scroll bar included.
  列表框1.ReleaseRedraw();
  ShowWindow(handle_, showCommand);
  UpdateWindow(handle_);
  return true;
}

void Win32MainWindow::Close() {
  if (!handle_ || closing_) return;
  if (!HandlerRunning()) {
    DestroyWindow(handle_);
    return;
  }
  closing_ = true;
  ShowWindow(handle_, SW_HIDE);
  WhenHandlersDone([this] {
    if (handle_) DestroyWindow(handle_);
  });
}

std::optional<std::intptr_t> Win32MainWindow::OnMessage(const ControlMessage& message) {
  switch (message.id) {
    case WM_COMMAND:
      // Notifications of the controls, passed on by the group boxes too.
      if (Control* control = Of(reinterpret_cast<HWND>(message.lParam))) {
        control->OnNotify(HIWORD(message.wParam));
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (Control* control = Of(reinterpret_cast<HWND>(message.lParam))) {
        if (HBRUSH brush = control->OnColour(reinterpret_cast<HDC>(message.wParam))) {
          return reinterpret_cast<std::intptr_t>(brush);
        }
      }
      return std::nullopt;
    case WM_ACTIVATE:
      return OnActivate(message);
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return std::nullopt;
  }
}

// A plain window gives the focus to itself when it is activated; the focus
// goes back to the control that had it, as in a dialog.
std::intptr_t Win32MainWindow::OnActivate(const ControlMessage& message) {
  if (LOWORD(message.wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus)) focus_ = focus;
    return 0;
  }
  if (HIWORD(message.wParam) == 0 && focus_ && IsWindow(focus_) && IsChild(handle_, focus_)) {
    SetFocus(focus_);
    return 0;
  }
  return CallOriginal(message);
}

void Win32MainWindow::ClearList() { 列表框1.Clear(); }
void Win32MainWindow::AddListItem(const std::string& text) { 列表框1.AddItem(text); }
void Win32MainWindow::SetCountCaption(const std::string& text) { 标签_指令个数.SetCaption(text); }

// Passes call this once per record: any waiting event may run inside them,
// except while the window is closing, when the pass only has to finish.
void Win32MainWindow::ProcessPendingEvents() {
  const bool looked = lookedWaiting_;
  lookedWaiting_ = false;
  if (!handle_ || closing_) return;
  if (looked) {
    DispatchWaitingMessages(*this);  // EventsWaiting has looked already
  } else {
    PumpPendingMessages(*this);
  }
}

bool Win32MainWindow::EventsWaiting() {
  lookedWaiting_ = handle_ && !closing_ && MessagesWaiting();
  return lookedWaiting_;
}

std::string Win32MainWindow::QueryText() { return 编辑框_查询.Text(); }

void Win32MainWindow::FocusQuery() {
  编辑框_查询.Focus();
  focus_ = 编辑框_查询.handle();
}

std::optional<std::string> Win32MainWindow::DescriptionText() {
  bool lossless = true;
  std::string text = 编辑框_功能.Text(&lossless);
  if (!lossless) return std::nullopt;
  return text;
}

void Win32MainWindow::SetDescriptionText(const std::string& text) { 编辑框_功能.SetText(text); }
void Win32MainWindow::AppendDescriptionText(const std::string& text) {
  编辑框_功能.AppendText(text);
}

int Win32MainWindow::SelectedListIndex() { return 列表框1.SelectedIndex(); }
std::string Win32MainWindow::ListItemText(int index) { return 列表框1.ItemText(index); }

void Win32MainWindow::ShowPicturePanel() { 画板1.Show(); }
void Win32MainWindow::HidePicturePanel() { 画板1.Hide(); }
void Win32MainWindow::SetPanelPicture(std::string_view pngBytes) { 画板1.SetPicture(pngBytes); }

}  // namespace quenstrel
