#include "shell/win32/file_system_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "shell/win32/encoding_win.h"

namespace quenstrel {
namespace {

// Antivirus and indexers hold a fresh file for a moment; a replace that meets
// them is tried again a few times before it gives up.
constexpr int kMoveAttempts = 5;
constexpr DWORD kMovePauseMs = 100;
// Temporary names tried before a save gives up.
constexpr int kNameAttempts = 100;

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    // A nearly full disk can report success with fewer bytes written.
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool IsTransient(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// Writes `bytes` to the new temporary file, makes sure they reached the
// disk, and closes it.
bool WriteTemporary(Handle& file, std::string_view bytes) {
  bool ok = WriteAll(file.Get(), bytes);
  LARGE_INTEGER size{};
  ok = ok && GetFileSizeEx(file.Get(), &size) &&
       static_cast<unsigned long long>(size.QuadPart) == bytes.size();
  ok = ok && FlushFileBuffers(file.Get());
  return file.Close() && ok;
}

bool MoveIntoPlace(const std::wstring& tmp, const std::wstring& target) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(tmp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    if (attempt + 1 >= kMoveAttempts || !IsTransient(GetLastError())) return false;
    Sleep(kMovePauseMs);
  }
}

std::wstring TemporaryNameFor(const std::wstring& target) {
  static unsigned counter = 0;
  return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + L".tmp";
}

// A new file beside `target`, named into `tmp`. A name that a killed
// process of the same id left behind is passed over, never reused.
Handle CreateTemporary(const std::wstring& target, std::wstring& tmp) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tmp = TemporaryNameFor(target);
    HANDLE file = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (file != INVALID_HANDLE_VALUE ||
        (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
      return Handle(file);
    }
  }
  return Handle(INVALID_HANDLE_VALUE);
}

// The process that named a temporary file "<stem><pid>-<n>.tmp", if `name`
// has that form.
bool TemporaryOwner(const std::wstring& name, const std::wstring& stem, DWORD* pid) {
  if (name.size() <= stem.size() + 4 || name.compare(0, stem.size(), stem) != 0 ||
      name.compare(name.size() - 4, 4, L".tmp") != 0) {
    return false;
  }
  const std::wstring middle = name.substr(stem.size(), name.size() - stem.size() - 4);
  const std::size_t dash = middle.find(L'-');
  if (dash == 0 || dash == std::wstring::npos || dash + 1 == middle.size() || dash > 10) {
    return false;
  }
  for (std::size_t i = 0; i < middle.size(); ++i) {
    if (i != dash && (middle[i] < L'0' || middle[i] > L'9')) return false;
  }
  const unsigned long long value = std::stoull(middle.substr(0, dash));
  *pid = static_cast<DWORD>(value);
  return value == *pid;
}

bool ProcessRunning(DWORD pid) {
  if (pid == GetCurrentProcessId()) return true;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

// A save cut short by a crash or a kill leaves its temporary file behind.
// After a save has succeeded, those of processes that have ended go; one of
// a process still running may be on its way into place.
void RemoveStaleTemporaries(const std::wstring& target) {
  const std::size_t cut = target.find_last_of(L"\\/") + 1;  // npos + 1 is 0
  const std::wstring dir = target.substr(0, cut);
  const std::wstring stem = target.substr(cut) + L".";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((target + L".*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    DWORD pid = 0;
    const std::wstring name = found.cFileName;
    if (TemporaryOwner(name, stem, &pid) && !ProcessRunning(pid)) DeleteFileW((dir + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

std::string WindowsFileSystem::RunDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  std::wstring path(buffer.begin(), buffer.end());
  path.erase(path.find_last_of(L"\\/") == std::wstring::npos ? 0 : path.find_last_of(L"\\/"));
  bool lossless = false;
  std::string gbk = GbkFromWide(path, &lossless);
  if (!lossless) {
    // A folder name GBK cannot spell still has its short ASCII alias.
    std::vector<wchar_t> shortPath(path.size() + 1 + MAX_PATH);
    const DWORD n =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (n > 0 && n < shortPath.size()) gbk = GbkFromWide(std::wstring(shortPath.data(), n));
  }
  return gbk;
}

bool WindowsFileSystem::Exists(const std::string& path) {
  if (path.empty()) return false;
  return GetFileAttributesW(WideFromGbk(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> WindowsFileSystem::ReadWholeFile(const std::string& path) {
  Handle file(CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1ll << 30)) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char chunk[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

bool WindowsFileSystem::ReplaceWholeFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = WideFromGbk(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    // Windows refuses to replace a read-only file, and Wine would not: refuse
    // it everywhere.
    return false;
  }
  std::wstring tmp;
  Handle file = CreateTemporary(target, tmp);
  if (!file.Valid()) return false;
  if (!WriteTemporary(file, bytes) || !MoveIntoPlace(tmp, target)) {
    DeleteFileW(tmp.c_str());
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & ~FILE_ATTRIBUTE_NORMAL)) {
    SetFileAttributesW(target.c_str(), attributes);  // keep hidden, archive and the like
  }
  RemoveStaleTemporaries(target);
  return true;
}

}  // namespace quenstrel
