#include "shell/win32/controls_win.h"

#include <windows.h>

#include "shell/win32/encoding_win.h"

namespace quenstrel {

bool ListBox::Create(const ControlSetup& setup) {
  text_ = setup.text;
  // Not sorted: items stay in the order they are added. LBS_NOTIFY reports
  // the user's selections; LBS_NOINTEGRALHEIGHT keeps the height as given.
  const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS;
  if (!CreateStandard(L"LISTBOX", style, 0, setup)) return false;
  // One pixel taller than the standard height for the font just set.
  const LRESULT height = SendMessageW(handle_, LB_GETITEMHEIGHT, 0, 0);
  if (height > 0) SendMessageW(handle_, LB_SETITEMHEIGHT, 0, MAKELPARAM(height + 1, 0));
  return true;
}

namespace {
// Posted to the list itself: the filling that held its redraw is over.
constexpr UINT kRedrawAgain = WM_APP + 1;
}  // namespace

// A reload fills the list item by item without letting events run; a visible
// list would repaint after every item, which costs seconds on a large
// catalogue; even the hidden list of the first load does four times the work
// for each item under Wine. Redraw waits until the next message is taken,
// after the fill.
void ListBox::HoldRedraw() {
  if (redrawHeld_) return;
  redrawHeld_ = true;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  PostMessageW(handle_, kRedrawAgain, 0, 0);
}

std::optional<std::intptr_t> ListBox::OnMessage(const ControlMessage& message) {
  if (message.id != kRedrawAgain) return std::nullopt;
  ReleaseRedraw();
  return 0;
}

void ListBox::ReleaseRedraw() {
  if (!redrawHeld_) return;
  redrawHeld_ = false;
  // The list sets its scroll bar again only now.
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void ListBox::AddItem(const std::string& text) {
  if (!handle_) return;
  HoldRedraw();
  const std::wstring wide = WideFromGbk(text);
  SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void ListBox::Clear() {
  if (!handle_) return;
  HoldRedraw();
  SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
}

int ListBox::SelectedIndex() {
  if (!handle_) return -1;
  const LRESULT index = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

std::string ListBox::ItemText(int index) {
  if (!handle_ || index < 0) return {};
  const LRESULT length = SendMessageW(handle_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return {};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(handle_, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(wide.data()));
  if (copied == LB_ERR) return {};
  wide.resize(static_cast<std::size_t>(copied));
  return GbkFromWide(wide);
}

void ListBox::OnNotify(int code) {
  if (code == LBN_SELCHANGE) RaiseEvent(onSelect);
}

HBRUSH ListBox::OnColour(HDC dc) {
  SetTextColor(dc, RGB(text_.red, text_.green, text_.blue));
  SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace quenstrel
