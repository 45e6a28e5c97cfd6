#include "skin/skin_platform_win.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "shell/win32/encoding_win.h"

static_assert(sizeof(void*) == 4, "SkinH_AttachRes takes 32-bit arguments");

// Calls `fn` as stdcall with six 32-bit words and stores in *drift how far the
// stack pointer ended up from where it was: 0 when the callee removed its
// 24 bytes of arguments, -24 for a cdecl callee. The stack pointer is put
// back either way, so a library of the wrong convention cannot take the
// program down with it. An ordinary cdecl function to its callers.
extern "C" int quenstrel_CallStdcallSix(quenstrel::SkinPlatform::Export fn,
                                        const std::uint32_t* words, std::int32_t* drift);
asm(R"(
  .text
  .globl _quenstrel_CallStdcallSix
_quenstrel_CallStdcallSix:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  movl 12(%ebp), %edx
  movl %esp, %esi
  pushl 20(%edx)
  pushl 16(%edx)
  pushl 12(%edx)
  pushl 8(%edx)
  pushl 4(%edx)
  pushl (%edx)
  call *8(%ebp)
  movl %esp, %ecx
  subl %esi, %ecx
  movl %esi, %esp
  movl 16(%ebp), %edx
  movl %ecx, (%edx)
  popl %esi
  popl %ebp
  ret
)");

namespace quenstrel {
namespace {

template <typename Function>
Function Kernel32Function(const char* name) {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  // Through void (*)(): the one cast between function types GCC lets pass.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

// Where SetDefaultDllDirectories exists, so do the LOAD_LIBRARY_SEARCH flags
// (Windows 8, or 7 with its loader update).
bool RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (setDefault == nullptr) return false;
  setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS);
  return true;
}

// Keeps the loader from asking the user anything while it tries a file that
// is no library or lacks a dependency; restores the mode and keeps the error.
class QuietLoader {
 public:
  QuietLoader() {
    constexpr DWORD kQuiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    if (setThreadMode_ != nullptr && setThreadMode_(kQuiet, &old_)) return;
    setThreadMode_ = nullptr;
    old_ = SetErrorMode(kQuiet);
    SetErrorMode(old_ | kQuiet);
  }
  QuietLoader(const QuietLoader&) = delete;
  QuietLoader& operator=(const QuietLoader&) = delete;
  ~QuietLoader() {
    const DWORD error = GetLastError();
    if (setThreadMode_ != nullptr) {
      setThreadMode_(old_, nullptr);
    } else {
      SetErrorMode(old_);
    }
    SetLastError(error);
  }

 private:
  using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, LPDWORD);
  SetThreadErrorModeFn setThreadMode_ =
      Kernel32Function<SetThreadErrorModeFn>("SetThreadErrorMode");
  DWORD old_ = 0;
};

}  // namespace

WindowsSkinPlatform::WindowsSkinPlatform() : searchFlagsSupported_(RestrictLibrarySearch()) {}

bool WindowsSkinPlatform::Exists(const std::string& path) { return fs_.Exists(path); }

std::string WindowsSkinPlatform::RunDirectory() { return fs_.RunDirectory(); }

unsigned WindowsSkinPlatform::SystemDirectory(char* buffer, unsigned size) {
  wchar_t wide[MAX_PATH + 1];
  const UINT n = GetSystemDirectoryW(wide, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return 0;
  bool lossless = false;
  const std::string gbk = GbkFromWide(std::wstring_view(wide, n), &lossless);
  if (!lossless) return 0;
  const auto length = static_cast<unsigned>(gbk.size());
  if (length + 1 > size) return length + 1;
  std::memcpy(buffer, gbk.c_str(), length + 1);
  return length;
}

std::string WindowsSkinPlatform::MakeAbsolute(const std::string& path) {
  const std::wstring wide = WideFromGbk(path);
  if (wide.empty()) return {};
  std::vector<wchar_t> full(MAX_PATH);
  for (;;) {
    const DWORD n =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return {};
    if (n < full.size()) {
      bool lossless = false;
      std::string gbk = GbkFromWide(std::wstring_view(full.data(), n), &lossless);
      return lossless ? gbk : std::string();
    }
    full.resize(n);
  }
}

SkinPlatform::Library WindowsSkinPlatform::LoadLibraryAt(const std::string& absolutePath) {
  const std::wstring path = WideFromGbk(absolutePath);
  if (path.empty()) return nullptr;
  const DWORD flags = searchFlagsSupported_
                          ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                          : LOAD_WITH_ALTERED_SEARCH_PATH;  // the library's folder first
  QuietLoader quiet;
  return LoadLibraryExW(path.c_str(), nullptr, flags);
}

SkinPlatform::Export WindowsSkinPlatform::FindExport(Library library, const std::string& name) {
  return reinterpret_cast<Export>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void WindowsSkinPlatform::ReleaseLibrary(Library library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

std::optional<int> WindowsSkinPlatform::CallAttach(Export attach, const AttachArguments& args) {
  const std::uint32_t words[6] = {
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(args.skinData)),
      static_cast<std::uint32_t>(args.skinLength),
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(args.skinPassword)),
      static_cast<std::uint32_t>(args.a),
      static_cast<std::uint32_t>(args.b),
      static_cast<std::uint32_t>(args.c)};
  std::int32_t drift = 0;
  const int result = quenstrel_CallStdcallSix(attach, words, &drift);
  if (drift != 0) return std::nullopt;
  return result;
}

}  // namespace quenstrel
