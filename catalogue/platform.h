#pragma once
// What the catalogue needs from outside, asked for through interfaces of its
// own: the file system and the few controls it fills.
#include <optional>
#include <string>
#include <string_view>

namespace quenstrel {

// Paths are GBK texts with "\" separators, as the program builds them.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The directory that holds the program, without a trailing separator.
  virtual std::string RunDirectory() = 0;
  // A file or a directory; the empty path never exists.
  virtual bool Exists(const std::string& path) = 0;
  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Replaces the file with `bytes` in one step: true only when the new bytes
  // are in place; on false the old file is as it was.
  virtual bool ReplaceWholeFile(const std::string& path, std::string_view bytes) = 0;
};

// The controls that loading fills.
class CatalogueView {
 public:
  virtual ~CatalogueView() = default;
  virtual void ClearList() = 0;
  virtual void AddListItem(const std::string& text) = 0;
  virtual void SetCountCaption(const std::string& text) = 0;
};

// The editing commands read the description box too.
class EditorView : public CatalogueView {
 public:
  // Nothing when the box holds a character that GBK cannot encode, so that
  // it is never stored as "?".
  virtual std::optional<std::string> DescriptionText() = 0;
};

}  // namespace quenstrel
