#pragma once
// An in-memory file system for tests: files by path, directories, files that
// cannot be read, and writes that fail.
#include <map>
#include <set>
#include <string>

#include "catalogue/platform.h"

namespace quenstrel {

class FakeFileSystem : public FileSystem {
 public:
  std::string runDirectory = "C:\\quenstrel";
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> unreadable;  // exist, but reading fails
  int failingWrites = 0;             // this many next writes fail
  int writeCalls = 0;

  std::string RunDirectory() override { return runDirectory; }
  bool Exists(const std::string& path) override {
    return !path.empty() &&
           (files.count(path) || directories.count(path) || unreadable.count(path));
  }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    if (unreadable.count(path) || !files.count(path)) return std::nullopt;
    return files.at(path);
  }
  bool ReplaceWholeFile(const std::string& path, std::string_view bytes) override {
    ++writeCalls;
    if (failingWrites > 0) {
      --failingWrites;
      return false;
    }
    if (unreadable.count(path) || directories.count(path)) return false;
    files[path] = std::string(bytes);
    return true;
  }
};

}  // namespace quenstrel
