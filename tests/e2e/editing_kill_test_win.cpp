// The program killed in the middle of saving a large catalogue: at random
// moments, as soon as the temporary file appears, and as soon as the
// catalogue has been replaced. Each restart must find exactly the old
// catalogue or exactly the new one, and a temporary file a kill left behind
// is removed by the next save.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

constexpr int kKills = 36;
constexpr int kOldCount = 22300;

enum class Moment { kRandom, kTemporaryAppears, kCatalogueReplaced };

bool IsTemporary(const std::wstring& name) {
  const std::wstring stem = std::wstring(kCatalogueName) + L".";
  return name.size() > stem.size() + 4 && name.compare(0, stem.size(), stem) == 0 &&
         name.compare(name.size() - 4, 4, L".tmp") == 0;
}

bool AnyTemporary(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Busy-waits (a save's write lasts milliseconds) until `done` or the time is up.
template <typename Done>
void SpinUntil(Done done, ULONGLONG timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done() && GetTickCount64() < end) {
  }
}

struct Outcomes {
  int old = 0, added = 0, temporaryLeft = 0;
};

class KilledDuringASaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 100; ++i) oldFile += FirstRunFile();
    std::vector<std::string> lines = LinesOf(LoadedRecords(oldFile));
    lines.push_back("ZZZ   新的一条.");
    addedFile = FileOf(lines);
  }

  std::wstring Catalogue() const { return app.RunDirectory() + L"\\" + kCatalogueName; }
  void StartAdding() const {
    app.SetText(app.Control(id::编辑框_功能), "zzz  新的 一条.");
    PostMessageW(app.Control(id::按钮_添加), BM_CLICK, 0, 0);
  }
  // Starts a save of the old catalogue and kills the program at `moment`;
  // the time from the click to the kill.
  ULONGLONG KillASave(Moment moment, DWORD randomDelayMs) {
    const ULONGLONG limit = 60000;
    EXPECT_TRUE(WriteWholeFile(Catalogue(), oldFile));
    const std::optional<unsigned long long> written = LastWriteTime(Catalogue());
    EXPECT_TRUE(app.Start(kOldCount));
    StartAdding();
    const ULONGLONG start = GetTickCount64();
    switch (moment) {
      case Moment::kRandom:
        Sleep(randomDelayMs);
        break;
      case Moment::kTemporaryAppears:
        SpinUntil([&] { return AnyTemporary(app.RunDirectory()); }, limit);
        break;
      case Moment::kCatalogueReplaced:
        SpinUntil([&] { return LastWriteTime(Catalogue()) != written; }, limit);
        break;
    }
    const ULONGLONG killedAfter = GetTickCount64() - start;
    app.Kill();
    return killedAfter;
  }

  std::string oldFile, addedFile;
  RunningApp app;
};

TEST_F(KilledDuringASaveTest, LeavesExactlyTheOldOrTheNewCatalogue) {
  // The pass and the write take milliseconds; the reload into the visible
  // list takes far longer. A kill just after the replacement times the
  // first part, and the random kills fall into three times that.
  DWORD replacedAfter = 0;
  std::mt19937 random(static_cast<unsigned>(GetTickCount64()));
  Outcomes outcomes;
  std::vector<std::wstring> leftovers;
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    const auto moment = static_cast<Moment>(kill % 3);
    const DWORD delay = std::uniform_int_distribution<DWORD>(0, 3 * replacedAfter + 5)(random);
    const ULONGLONG killedAfter = KillASave(moment, delay);
    if (moment == Moment::kCatalogueReplaced) {
      replacedAfter = std::max(replacedAfter, static_cast<DWORD>(killedAfter));
    }
    const std::optional<std::string> file = app.CatalogueBytes();
    const bool old = file == oldFile;
    ASSERT_TRUE(old || file == addedFile)
        << "killed after " << killedAfter << " ms: a catalogue of "
        << file.value_or("(none)").size() << " bytes";
    ++(old ? outcomes.old : outcomes.added);
    for (const std::wstring& name : FolderNames(app.RunDirectory())) {
      if (!IsTemporary(name)) {
        EXPECT_TRUE(name == L"Quenstrel.exe" || name == kCatalogueName);
      } else if (std::find(leftovers.begin(), leftovers.end(), name) == leftovers.end()) {
        leftovers.push_back(name);
      }
    }
    ASSERT_TRUE(app.Start(old ? kOldCount : kOldCount + 1));
    EXPECT_EQ(app.CatalogueBytes(), file);
  }
  std::printf(
      "replaced %lu ms after the click; %d kills: %d old, %d new, %zu temporary files left\n",
      replacedAfter, kKills, outcomes.old, outcomes.added, leftovers.size());
  EXPECT_GT(outcomes.old, 0);
  EXPECT_GT(outcomes.added, 0);

  // The next save that finishes removes what the killed ones left.
  app.Kill();
  ASSERT_TRUE(WriteWholeFile(Catalogue(), FirstRunFile()));
  ASSERT_TRUE(app.Start(223));
  app.SetText(app.Control(id::编辑框_功能), "zzz  新的 一条.");
  ASSERT_TRUE(Click(app, id::按钮_添加));
  EXPECT_EQ(app.Text(app.Control(id::编辑框_功能)), "亲：添加汇编指令成功！");
  const std::vector<std::wstring> names = {L"Quenstrel.exe", kCatalogueName};
  EXPECT_EQ(FolderNames(app.RunDirectory()), names);
}

}  // namespace
}  // namespace quenstrel::e2e
