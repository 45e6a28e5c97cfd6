// Prints one thing the running program's window shows, as UTF-8:
//   e2e_probe query | description | focus
// "focus" prints the control ID that has the keyboard focus (0 for none).
#include <windows.h>

#include <string>
#include <string_view>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"

namespace {

using namespace quenstrel;
using quenstrel::e2e::WideText;

HWND MainWindow() { return FindWindowW(kMainWindowClass, nullptr); }

void Print(std::wstring_view text) {
  const int n = static_cast<int>(text.size());
  std::string utf8(static_cast<std::size_t>(n) * 4 + 1, '\0');
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), n, utf8.data(), n * 4 + 1, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(length), &written,
            nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  HWND window = MainWindow();
  if (argc != 2 || !window) return 2;
  const std::string_view what = argv[1];
  if (what == "query") {
    Print(WideText(GetDlgItem(GetDlgItem(window, control_id::分组框2), control_id::编辑框_查询)));
  } else if (what == "description") {
    Print(WideText(GetDlgItem(GetDlgItem(window, control_id::分组框3), control_id::编辑框_功能)));
  } else if (what == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    Print(std::to_wstring(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
  } else {
    return 2;
  }
  return 0;
}
