#include "shell/win32/controls_win.h"

#include <windows.h>

#include "shell/win32/encoding_win.h"

namespace quenstrel {
namespace {

const MSG* DialogKey(const ControlMessage& message) {
  const auto* msg = reinterpret_cast<const MSG*>(message.lParam);
  return msg && msg->message == WM_KEYDOWN ? msg : nullptr;
}

}  // namespace

std::string EditBox::Text(bool* lossless) {
  if (lossless) *lossless = true;
  if (!handle_) return {};
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      GetWindowTextW(handle_, wide.data(), static_cast<int>(wide.size()))));
  return GbkFromWide(wide, lossless);
}

void EditBox::Focus() {
  if (handle_) SetFocus(handle_);
}

HBRUSH EditBox::OnColour(HDC dc) {
  SetTextColor(dc, RGB(text_.red, text_.green, text_.blue));
  SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

bool SingleLineEdit::Create(const ControlSetup& setup) {
  text_ = setup.text;
  const DWORD style = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
  if (!CreateStandard(L"EDIT", style, WS_EX_CLIENTEDGE, setup)) return false;
  SendMessageW(handle_, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
  return true;
}

void SingleLineEdit::OnNotify(int code) {
  if (code == EN_CHANGE) RaiseEvent(onChange);
}

std::optional<std::intptr_t> SingleLineEdit::OnMessage(const ControlMessage& message) {
  switch (message.id) {
    case WM_GETDLGCODE: {
      // Enter must reach the box as a key, not become the dialog manager's
      // default-button press.
      const LRESULT code = CallOriginal(message);
      const MSG* key = DialogKey(message);
      return key && key->wParam == VK_RETURN ? code | DLGC_WANTALLKEYS : code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {  // Alt+key comes as a system key
      const int key = static_cast<int>(message.wParam);
      RaiseEvent([this, key] {
        if (onKeyDown) onKeyDown(key);
      });
      return std::nullopt;  // the box still gets the key
    }
    case WM_CHAR:
      // A single-line box only beeps at a line break; its text stays as is.
      if (message.wParam == '\r' || message.wParam == '\n') return 0;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

bool MultiLineEdit::Create(const ControlSetup& setup) {
  text_ = setup.text;
  // No ES_NOHIDESEL: the selection shows only while the box has the focus.
  // WS_CLIPSIBLINGS keeps it from painting over the picture panel above it.
  const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS |
                      ES_LEFT | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!CreateStandard(L"EDIT", style, WS_EX_STATICEDGE, setup)) return false;
  SendMessageW(handle_, EM_SETLIMITTEXT, 0, 0);
  return true;
}

void MultiLineEdit::SetText(const std::string& text) {
  if (!handle_) return;
  SetWindowTextW(handle_, WideFromGbk(text).c_str());
  SendMessageW(handle_, EM_SETSEL, 0, 0);
  SendMessageW(handle_, EM_SCROLLCARET, 0, 0);
}

void MultiLineEdit::AppendText(const std::string& text) {
  if (!handle_) return;
  const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthW(handle_));
  SendMessageW(handle_, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(handle_, EM_SCROLLCARET, 0, 0);
  const std::wstring wide = WideFromGbk(text);
  SendMessageW(handle_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  SendMessageW(handle_, EM_SCROLLCARET, 0, 0);
}

std::optional<std::intptr_t> MultiLineEdit::OnMessage(const ControlMessage& message) {
  if (message.id != WM_GETDLGCODE) return std::nullopt;
  // A multi-line box asks for every key; Tab has to leave it all the same.
  const LRESULT code = CallOriginal(message);
  const MSG* key = DialogKey(message);
  if (key && key->wParam == VK_TAB) return code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  return code;
}

}  // namespace quenstrel
