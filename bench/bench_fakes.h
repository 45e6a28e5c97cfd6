#pragma once
// Stand-ins for the window and the disk, so benchmarks time only the core.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/platform.h"
#include "search/event_pump.h"

namespace quenstrel::bench {

// A window with nothing ever waiting.
struct NullPump : EventPump {
  void ProcessPendingEvents() override {}
  bool EventsWaiting() override { return false; }
};

// A catalogue file in memory that every write replaces.
class MemoryFileSystem : public FileSystem {
 public:
  std::string file;
  std::string RunDirectory() override { return "C:\\q"; }
  bool Exists(const std::string&) override { return true; }
  std::optional<std::string> ReadWholeFile(const std::string&) override { return file; }
  bool ReplaceWholeFile(const std::string&, std::string_view bytes) override {
    file.assign(bytes);
    return true;
  }
};

// A list and a count caption that show nothing, and a description box.
class NullView : public EditorView {
 public:
  std::string box;
  void ClearList() override {}
  void AddListItem(const std::string&) override {}
  void SetCountCaption(const std::string&) override {}
  std::optional<std::string> DescriptionText() override { return box; }
};

}  // namespace quenstrel::bench
