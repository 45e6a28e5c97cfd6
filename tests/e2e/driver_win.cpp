#include "tests/e2e/driver_win.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <psapi.h>

#include <utility>

#include "shell/win32/control_ids.h"
#include "shell/win32/encoding_win.h"

namespace quenstrel::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 30000;

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }

std::wstring FreshDirectory() {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  for (;;) {
    std::wstring dir = std::wstring(temp) + L"quenstrel-e2e-" +
                       std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

void RemoveDirectoryTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[64];
  if (pid == search->processId && GetClassNameW(window, name, 64) &&
      std::wstring_view(name) == kMainWindowClass) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

const wchar_t kCatalogueName[] = L"\u6C47\u7F16\u6307\u4EE4\u96C6.txt";  // 汇编指令集.txt

std::wstring BuildTreePath(const char* relative) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self, length);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + Widen(relative);
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(1);
  }
  return true;
}

RunningApp::RunningApp(std::optional<std::string> catalogue) : runDirectory_(FreshDirectory()) {
  CopyIn(BuildTreePath(QUENSTREL_PROGRAM), L"Quenstrel.exe");
  if (catalogue) WriteWholeFile(runDirectory_ + L"\\" + kCatalogueName, *catalogue);
}

RunningApp::RunningApp(PreparedDirectory prepared)
    : runDirectory_(std::move(prepared.path)), ownsDirectory_(false) {}

RunningApp::~RunningApp() {
  // Ended, not closed: the tests that close the window wait for that
  // themselves, and a close under Xvfb waits two seconds for a window
  // manager that is not there.
  Kill();
  if (ownsDirectory_) RemoveDirectoryTree(runDirectory_);
}

void RunningApp::Kill() {
  if (!process_) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 10000);
  CloseHandle(process_);
  process_ = nullptr;
  window_ = nullptr;
}

bool RunningApp::Start(int listCount, int timeoutMs) {
  Kill();
  const std::wstring program = runDirectory_ + L"\\Quenstrel.exe";
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Started from another directory: the program must find its files beside itself.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      temp, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  threadId_ = info.dwThreadId;
  // A program that crashes while loading ends the wait at once.
  bool ended = false;
  const bool shown = WaitUntil([&] {
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) return ended = true;
    Search search{info.dwProcessId, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    window_ = search.found;
    return window_ && IsWindowVisible(window_) && (listCount < 0 || ListCount() == listCount);
  }, timeoutMs);
  return shown && !ended;
}

std::optional<MemoryUse> RunningApp::PeakMemory() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!process_ || !GetProcessMemoryInfo(process_, &counters, sizeof counters)) return std::nullopt;
  return MemoryUse{counters.PeakWorkingSetSize, counters.PeakPagefileUsage};
}

std::optional<unsigned long> RunningApp::WaitForExit(int timeoutMs) {
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

WindowHandle RunningApp::Control(int id) const {
  if (HWND direct = GetDlgItem(window_, id)) return direct;
  namespace cid = control_id;
  for (int box : {cid::分组框1, cid::分组框2, cid::分组框3, cid::分组框4}) {
    if (HWND inside = GetDlgItem(GetDlgItem(window_, box), id)) return inside;
  }
  return nullptr;
}

WindowHandle RunningApp::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

std::string RunningApp::Text(WindowHandle window) const {
  const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring wide(length + 1, L'\0');
  const LRESULT copied =
      Send(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<std::size_t>(copied));
  return GbkFromWide(wide);
}

void RunningApp::SetText(WindowHandle window, std::string_view gbk) const {
  const std::wstring wide = WideFromGbk(gbk);
  Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void RunningApp::PostKey(WindowHandle window, unsigned key) const {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(window, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
}

void RunningApp::SelectListItem(int index) const {
  HWND list = Control(control_id::列表框1);
  Send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Send(GetParent(list), WM_COMMAND, MAKEWPARAM(control_id::列表框1, LBN_SELCHANGE),
       reinterpret_cast<LPARAM>(list));
}

int RunningApp::ListCount() const {
  return static_cast<int>(Send(Control(control_id::列表框1), LB_GETCOUNT, 0, 0));
}

std::string RunningApp::ListItem(int index) const {
  HWND list = Control(control_id::列表框1);
  const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return GbkFromWide(wide);
}

int RunningApp::FindListItem(std::string_view gbk) const {
  const std::wstring wide = WideFromGbk(gbk);
  return static_cast<int>(Send(Control(control_id::列表框1), LB_FINDSTRINGEXACT,
                               static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())));
}

Rect RunningApp::RectInParent(WindowHandle window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool RunningApp::CopyIn(const std::wstring& source, const std::wstring& name) const {
  return CopyFileW(source.c_str(), (runDirectory_ + L"\\" + name).c_str(), FALSE) != 0;
}

std::optional<std::string> RunningApp::FileBytes(const std::wstring& name) const {
  return ReadWholeFile(runDirectory_ + L"\\" + name);
}

std::wstring WideText(WindowHandle window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 10000, &copied);
  text.resize(copied);
  return text;
}

void SetWideText(WindowHandle window, const std::wstring& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                      10000, &result);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

}  // namespace quenstrel::e2e
