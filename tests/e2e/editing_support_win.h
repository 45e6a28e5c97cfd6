#pragma once
// What the editing tests look at around a command on the running program:
// the catalogue file and the folder on disk, the list, the count and the box.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {

// The records a load of `file` lists, in list order: lines cut at CR LF,
// blank and space-led lines skipped, sorted by bytes.
std::vector<Record> LoadedRecords(std::string_view file);
// Each line followed by CR LF.
std::string FileOf(const std::vector<std::string>& lines);
std::vector<std::string> LinesOf(const std::vector<Record>& records);

// The names in a folder, sorted.
std::vector<std::wstring> FolderNames(const std::wstring& dir);
std::optional<unsigned long long> LastWriteTime(const std::wstring& path);

// The list's items and the count caption.
struct Shown {
  std::vector<std::string> items;
  std::string count;
  bool operator==(const Shown&) const = default;
};
Shown ShownBy(const RunningApp& app);
Shown ShownFor(const std::vector<Record>& records);

// Everything a command could change.
struct Snapshot {
  std::optional<std::string> file;
  std::optional<unsigned long long> written;
  std::vector<std::wstring> names;
  Shown shown;
  std::wstring box;
};
Snapshot TakeSnapshot(const RunningApp& app);

// A command as a user gives it: an item selected (or none, when empty),
// text in the description box, a click on its button.
struct EditCommand {
  const char* what;
  const char* select;
  const char* box;
  int button;
};
// Add, modify "WAIT" and delete "WAIT", each of which would change the file.
extern const EditCommand kEditCommands[3];
// Selects and types what `command` needs, without clicking.
void PrepareCommand(const RunningApp& app, const EditCommand& command);

// BM_CLICK on a button; false when its handler has not returned in time.
bool Click(const RunningApp& app, int buttonId, unsigned timeoutMs = 60000);

// The description box, the list and the count, the file (bytes and time) and
// the folder are as in `before`.
void ExpectUnchanged(const RunningApp& app, const Snapshot& before);
// Typing into the query box still shows its result within a few seconds.
void ExpectAnswers(const RunningApp& app);

// A file held open by another program (e2e_holder) until released: without
// sharing, or shared for reading only.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, bool sharedRead);
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { Release(); }
  bool Held() const { return held_; }
  // Tells the holder to close the file and waits until it has ended.
  void Release();

 private:
  void* process_ = nullptr;
  void* input_ = nullptr;
  bool held_ = false;
};

}  // namespace quenstrel::e2e
