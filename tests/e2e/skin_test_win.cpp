// The skin step of the running program, with stand-in skin libraries that
// record what they receive in files beside themselves: where the library is
// taken from, what it is handed and when, and that the program works on
// without a word whatever lies there.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/encoding_win.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

const wchar_t kLibrary[] = L"SkinH_EL.dll";
// The rest of a log line after data=<address>: the arguments of the one call.
const char kArguments[] = " length=20275 password=null a=0 b=0 c=0\r\n";

std::wstring Fixture(const char* name) {
  return BuildTreePath((std::string(QUENSTREL_SKIN_FIXTURES) + "/" + name + ".dll").c_str());
}

std::string ReadAll(const std::wstring& path) { return ReadWholeFile(path).value_or("<none>"); }


// The calls a stand-in at `path` recorded: one line each.
int Calls(const std::wstring& path) {
  const std::string log = ReadAll(path + L".log");
  return log == "<none>" ? 0 : static_cast<int>(std::count(log.begin(), log.end(), '\n'));
}

DWORD ProcessOf(const RunningApp& app) {
  DWORD pid = 0;
  GetWindowThreadProcessId(app.Window(), &pid);
  return pid;
}

// Where the program has a library of that name loaded from, or "".
std::wstring LoadedSkinLibrary(const RunningApp& app) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ProcessOf(app));
  if (snapshot == INVALID_HANDLE_VALUE) return L"<no snapshot>";
  std::wstring found;
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(snapshot, &module); more;
       more = Module32NextW(snapshot, &module)) {
    if (lstrcmpiW(module.szModule, kLibrary) == 0) found = module.szExePath;
  }
  CloseHandle(snapshot);
  return found;
}

struct Windows {
  DWORD pid;
  HWND main;
  std::vector<std::wstring> others;
};

BOOL CALLBACK CollectOtherVisibleWindows(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<Windows*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[64] = L"";
  if (pid == windows->pid && window != windows->main && IsWindowVisible(window)) {
    GetClassNameW(window, name, 64);
    windows->others.push_back(name);
  }
  return TRUE;
}

// The program at work with its plain look: no message and no dialog beside
// its window, the count shown, a query answered, and the focus where the
// start-up puts it after the skin step (once the window is active: the
// program before it has only just been ended).
void ExpectWorkingAlone(RunningApp& app) {
  Windows windows{ProcessOf(app), app.Window(), {}};
  EnumWindows(CollectOtherVisibleWindows, reinterpret_cast<LPARAM>(&windows));
  std::wstring classes;
  for (const std::wstring& name : windows.others) classes += name + L" ";
  EXPECT_EQ(classes, L"") << GbkFromWide(classes);
  EXPECT_EQ(app.Text(app.Control(id::标签_指令个数)), "共有：223条汇编指令！");
  app.SetText(app.Control(id::编辑框_查询), "movs");
  EXPECT_EQ(app.Text(app.Control(id::编辑框_功能)), MnemonicResult("MOVS"));
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == app.Control(id::编辑框_查询); }, 5000));
}

// One call with the built-in skin, made once the list was full.
void ExpectAttachedOnce(const std::wstring& library) {
  const std::string log = ReadAll(library + L".log");
  EXPECT_EQ(Calls(library), 1) << log;
  EXPECT_EQ(log.substr(0, 5), "data=");
  EXPECT_NE(log.find(kArguments), std::string::npos) << log;
  const std::string skin = ReadAll(library + L".bin");
  EXPECT_TRUE(skin == SkinResource()) << skin.size() << " bytes of skin handed over";
  EXPECT_EQ(ReadAll(library + L".lists"), "items=223\r\n");
}

// The prefix, and with it its system directory, is shared by every build
// tree and every run of the tests: two runs of these tests take turns
// through a mutex of the prefix's wineserver, so neither meets the other's
// stand-in.
class SkinTestTurn {
 public:
  SkinTestTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\quenstrel-e2e-skin")) {
    if (mutex_) WaitForSingleObject(mutex_, 300000);  // taken over when its holder died
  }
  SkinTestTurn(const SkinTestTurn&) = delete;
  SkinTestTurn& operator=(const SkinTestTurn&) = delete;
  ~SkinTestTurn() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_;
};

TEST(SkinTest, WhatLiesBesideTheProgramAsItsSkinLibrary) {
  SkinTestTurn turn;
  struct Case {
    const char* name;
    std::function<bool(RunningApp&)> place;
    bool called;
    bool staysLoaded;
  };
  const auto copy = [](const char* fixture) {
    return [fixture](RunningApp& app) { return app.CopyIn(Fixture(fixture), kLibrary); };
  };
  const Case cases[] = {
      {"a skin library", copy("skin_fixture"), true, true},
      {"a library that refuses the skin",
       [](RunningApp& app) {
         return app.CopyIn(Fixture("skin_fixture"), kLibrary) &&
                WriteWholeFile(app.RunDirectory() + L"\\SkinH_EL.dll.ret", "5");
       },
       true, true},
      // The call takes its arguments back off the stack; the program's stack
      // is put right and it goes on.
      {"a library of the wrong calling convention", copy("skin_fixture_cdecl"), true, true},
      {"a library without the export", copy("skin_fixture_noexport"), false, false},
      {"a text file",
       [](RunningApp& app) {
         return WriteWholeFile(app.RunDirectory() + L"\\SkinH_EL.dll", "not a library\r\n");
       },
       false, false},
      {"a directory",
       [](RunningApp& app) {
         return CreateDirectoryW((app.RunDirectory() + L"\\SkinH_EL.dll").c_str(), nullptr) != 0;
       },
       false, false},
      {"nothing", [](RunningApp&) { return true; }, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunningApp app;
    ASSERT_TRUE(c.place(app));
    ASSERT_TRUE(app.Start(223));
    const std::wstring library = app.RunDirectory() + L"\\SkinH_EL.dll";
    if (c.called) {
      ExpectAttachedOnce(library);
    } else {
      EXPECT_EQ(Calls(library), 0);
    }
    const std::wstring loaded = LoadedSkinLibrary(app);
    EXPECT_EQ(lstrcmpiW(loaded.c_str(), c.staysLoaded ? library.c_str() : L""), 0)
        << GbkFromWide(loaded);
    ExpectWorkingAlone(app);
  }
}

// The prefix's own system directory holds the stand-in for this test only.
// The end-to-end tests run on their own (RUN_SERIAL), so no other test's
// program looks there meanwhile.
class InSystemDirectory {
 public:
  InSystemDirectory() {
    wchar_t dir[MAX_PATH];
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    path = std::wstring(dir, n) + L"\\" + kLibrary;
    // A copy a killed run left behind is the stand-in itself; anything else
    // is not ours to replace.
    const std::string fixture = ReadAll(Fixture("skin_fixture"));
    const std::string there = ReadAll(path);
    placed = (there == "<none>" || there == fixture) &&
             CopyFileW(Fixture("skin_fixture").c_str(), path.c_str(), FALSE);
    ForgetCalls();
  }
  ~InSystemDirectory() {
    ForgetCalls();
    if (placed) DeleteFileW(path.c_str());
  }
  void ForgetCalls() const {
    for (const wchar_t* suffix : {L".log", L".bin", L".lists", L".ret"}) {
      DeleteFileW((path + suffix).c_str());
    }
  }

  std::wstring path;
  bool placed = false;
};

TEST(SkinTest, TheSystemDirectorysCopyServesOnlyWhenTheRunDirectoryHasNone) {
  SkinTestTurn turn;
  InSystemDirectory system;
  ASSERT_TRUE(system.placed) << GbkFromWide(system.path);
  {
    SCOPED_TRACE("only in the system directory");
    RunningApp app;
    ASSERT_TRUE(app.Start(223));
    ExpectAttachedOnce(system.path);
    EXPECT_EQ(lstrcmpiW(LoadedSkinLibrary(app).c_str(), system.path.c_str()), 0);
    ExpectWorkingAlone(app);
  }
  system.ForgetCalls();
  {
    SCOPED_TRACE("in both");
    RunningApp app;
    ASSERT_TRUE(app.CopyIn(Fixture("skin_fixture"), kLibrary));
    ASSERT_TRUE(app.Start(223));
    const std::wstring besideProgram = app.RunDirectory() + L"\\SkinH_EL.dll";
    ExpectAttachedOnce(besideProgram);
    EXPECT_EQ(Calls(system.path), 0);
    EXPECT_EQ(lstrcmpiW(LoadedSkinLibrary(app).c_str(), besideProgram.c_str()), 0);
    ExpectWorkingAlone(app);
  }
  {
    SCOPED_TRACE("a directory of that name beside the program");
    RunningApp app;
    ASSERT_TRUE(CreateDirectoryW((app.RunDirectory() + L"\\SkinH_EL.dll").c_str(), nullptr));
    ASSERT_TRUE(app.Start(223));
    EXPECT_EQ(Calls(system.path), 0);
    EXPECT_EQ(LoadedSkinLibrary(app), L"");
    ExpectWorkingAlone(app);
  }
}

}  // namespace
}  // namespace quenstrel::e2e
