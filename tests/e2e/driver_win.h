#pragma once
// Starts the real Quenstrel.exe in a fresh run directory and talks to its
// window from outside, the way Windows delivers events. Texts come back as
// GBK, for comparison with the program's own literals.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct HWND__;
struct HINSTANCE__;

namespace quenstrel::e2e {

using WindowHandle = HWND__*;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// Polls `done` until it holds or `timeoutMs` passes. (<chrono> cannot be
// compiled to GBK: it holds a micro sign.)
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

extern const wchar_t kCatalogueName[];

// A run directory that someone else prepared (a read-only mount, a full
// disk), with the program already in it. It is left in place.
struct PreparedDirectory {
  std::wstring path;
};

struct MemoryUse {
  unsigned long long workingSet = 0;  // resident
  unsigned long long committed = 0;   // private memory, backed by the page file
};

class RunningApp {
 public:
  // A fresh run directory with a copy of the program in it, and `catalogue`
  // as its catalogue file when given. The program is not started yet.
  explicit RunningApp(std::optional<std::string> catalogue = std::nullopt);
  explicit RunningApp(PreparedDirectory prepared);
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;
  ~RunningApp();  // closes or ends the program, removes the run directory

  // Starts the program and waits for its window to show with `listCount`
  // items in its list (any count when negative).
  bool Start(int listCount = -1, int timeoutMs = 10000);
  // Waits for the process to end; its exit code, or nothing on a timeout.
  std::optional<unsigned long> WaitForExit(int timeoutMs);
  // Ends the program at once, as a crash or a kill would; Start may follow.
  void Kill();
  // The running program's peak memory so far, in bytes.
  std::optional<MemoryUse> PeakMemory() const;

  WindowHandle Window() const { return window_; }
  // A control by its ID, inside the group boxes as well.
  WindowHandle Control(int id) const;
  // The control of the program's thread that has the keyboard focus.
  WindowHandle Focus() const;

  // Text of any window of the program, read with WM_GETTEXT.
  std::string Text(WindowHandle window) const;
  // Sets it with WM_SETTEXT and returns when the program has handled it.
  void SetText(WindowHandle window, std::string_view gbk) const;
  void PostKey(WindowHandle window, unsigned key) const;
  // LB_SETCURSEL, then LBN_SELCHANGE to the list's parent, as a user's
  // selection arrives.
  void SelectListItem(int index) const;
  int ListCount() const;
  std::string ListItem(int index) const;
  int FindListItem(std::string_view gbk) const;

  // A window's rectangle relative to its parent's client area.
  static Rect RectInParent(WindowHandle window);

  std::wstring RunDirectory() const { return runDirectory_; }
  // Puts a copy of `source` into the run directory as `name`.
  bool CopyIn(const std::wstring& source, const std::wstring& name) const;
  // A file's bytes in the run directory, or nothing when it does not exist.
  std::optional<std::string> FileBytes(const std::wstring& name) const;
  std::optional<std::string> CatalogueBytes() const { return FileBytes(kCatalogueName); }

 private:
  std::wstring runDirectory_;
  bool ownsDirectory_ = true;
  void* process_ = nullptr;
  unsigned long threadId_ = 0;
  WindowHandle window_ = nullptr;
};

// A file of the build tree, given relative to the driver's own folder.
std::wstring BuildTreePath(const char* relative);

// A window's text as UTF-16, which keeps what GBK cannot hold; and setting it.
std::wstring WideText(WindowHandle window);
void SetWideText(WindowHandle window, const std::wstring& text);

// A whole file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::wstring& path);
// Makes the file at `path` hold `bytes`; false when any of it failed.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

}  // namespace quenstrel::e2e
