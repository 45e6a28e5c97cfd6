#pragma once
// What locating and attaching the skin library needs from the system. Paths
// are GBK texts with "\" separators.
#include <cstdint>
#include <optional>
#include <string>

namespace quenstrel {

// The six 32-bit arguments of SkinH_AttachRes, in the order they are passed.
struct AttachArguments {
  const unsigned char* skinData = nullptr;
  std::int32_t skinLength = 0;
  const char* skinPassword = nullptr;
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::int32_t c = 0;
};

class SkinPlatform {
 public:
  using Library = void*;      // null: none
  using Export = void (*)();  // null: none

  virtual ~SkinPlatform() = default;

  // A file or a directory; the empty path never exists.
  virtual bool Exists(const std::string& path) = 0;
  // The directory that holds the program, without a trailing separator.
  virtual std::string RunDirectory() = 0;
  // Behaves as GetSystemDirectoryA: writes the directory and a NUL into
  // `buffer` and gives its length, or gives the size it would need when
  // `size` is too small, or 0 on failure.
  virtual unsigned SystemDirectory(char* buffer, unsigned size) = 0;
  // The absolute form of `path`, or "" when it has none.
  virtual std::string MakeAbsolute(const std::string& path) = 0;

  virtual Library LoadLibraryAt(const std::string& absolutePath) = 0;
  virtual Export FindExport(Library library, const std::string& name) = 0;
  virtual void ReleaseLibrary(Library library) = 0;
  // Calls `attach` as SkinH_AttachRes (stdcall). Nothing when the callee did
  // not remove exactly its 24 bytes of arguments from the stack.
  virtual std::optional<int> CallAttach(Export attach, const AttachArguments& args) = 0;
};

}  // namespace quenstrel
