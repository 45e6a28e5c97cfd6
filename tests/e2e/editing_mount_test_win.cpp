// Saves into a run directory that cannot take them: a read-only mount, and a
// tmpfs that is nearly full. editing_mounts.sh prepares the folders (it needs
// root) and names them in the environment; run alone, these tests fail.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

std::wstring PreparedFolder(const wchar_t* variable) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(variable, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// The fault is really there: a file the size of the catalogue cannot be
// written into the folder.
bool FolderRefusesACatalogue(const std::wstring& dir) {
  const std::wstring probe = dir + L"\\probe";
  const bool written = WriteWholeFile(probe, FirstRunFile());
  DeleteFileW(probe.c_str());
  return !written;
}

// In each folder the program works from what it could load, and every
// command fails without a message, leaving the folder, the list and the
// count as they were; a restart shows the same.
TEST(UnwritableFolderTest, EveryCommandFailsAndLeavesTheFolderAsItWas) {
  struct Folder {
    const wchar_t* variable;
    bool hasCatalogue;
  };
  const Folder folders[] = {
      {L"QUENSTREL_E2E_READONLY_EMPTY", false},
      {L"QUENSTREL_E2E_READONLY", true},
      {L"QUENSTREL_E2E_FULL_EMPTY", false},
      {L"QUENSTREL_E2E_FULL", true},
  };
  for (const Folder& folder : folders) {
    const std::wstring dir = PreparedFolder(folder.variable);
    SCOPED_TRACE(std::string(folder.variable, folder.variable + wcslen(folder.variable)));
    ASSERT_FALSE(dir.empty()) << "not set: run through editing_mounts.sh, which prepares it";
    ASSERT_TRUE(FolderRefusesACatalogue(dir)) << "the folder takes a catalogue: no fault";
    RunningApp app(PreparedDirectory{dir});
    const std::vector<std::wstring> names = FolderNames(dir);
    const std::optional<std::string> file = app.CatalogueBytes();
    ASSERT_EQ(file.has_value(), folder.hasCatalogue);
    const std::vector<Record> shown =
        folder.hasCatalogue ? LoadedRecords(*file) : SortedBuiltInRecords();
    ASSERT_EQ(shown.size(), 223u);

    ASSERT_TRUE(app.Start(223));
    EXPECT_TRUE(ShownBy(app) == ShownFor(shown));
    EXPECT_EQ(FolderNames(dir), names);  // a first run could not create the file
    for (const EditCommand& command : kEditCommands) {
      SCOPED_TRACE(command.what);
      PrepareCommand(app, command);
      const Snapshot before = TakeSnapshot(app);
      ASSERT_TRUE(Click(app, command.button));
      ExpectUnchanged(app, before);
    }
    ExpectAnswers(app);
    ASSERT_TRUE(app.Start(223));
    EXPECT_TRUE(ShownBy(app) == ShownFor(shown));
    EXPECT_EQ(app.CatalogueBytes(), file);
    EXPECT_EQ(FolderNames(dir), names);
  }
}

}  // namespace
}  // namespace quenstrel::e2e
