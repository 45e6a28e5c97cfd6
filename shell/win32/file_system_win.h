#pragma once
#include "catalogue/platform.h"

namespace quenstrel {

// The real file system. A replace writes a temporary file beside the target,
// checks every count, flushes, and moves it over the target in one step, so a
// full disk or a crash leaves the old file or the new one, never a mix.
class WindowsFileSystem : public FileSystem {
 public:
  std::string RunDirectory() override;
  bool Exists(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool ReplaceWholeFile(const std::string& path, std::string_view bytes) override;
};

}  // namespace quenstrel
