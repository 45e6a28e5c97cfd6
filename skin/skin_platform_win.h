#pragma once
#include "shell/win32/file_system_win.h"
#include "skin/skin_platform.h"

namespace quenstrel {

// The real loader. Constructing it restricts the library search order of the
// whole process (system directory and added directories only), so make it
// at start-up, before anything else loads a library.
class WindowsSkinPlatform : public SkinPlatform {
 public:
  WindowsSkinPlatform();

  bool Exists(const std::string& path) override;
  std::string RunDirectory() override;
  // The GetSystemDirectoryA contract, spelt in GBK whatever the system's
  // ANSI code page is.
  unsigned SystemDirectory(char* buffer, unsigned size) override;
  std::string MakeAbsolute(const std::string& path) override;
  // Takes the library's own dependencies from its folder and the system
  // directory only, never from the current directory; no loader dialogs.
  Library LoadLibraryAt(const std::string& absolutePath) override;
  Export FindExport(Library library, const std::string& name) override;
  void ReleaseLibrary(Library library) override;
  std::optional<int> CallAttach(Export attach, const AttachArguments& args) override;

 private:
  WindowsFileSystem fs_;
  bool searchFlagsSupported_ = false;
};

}  // namespace quenstrel
