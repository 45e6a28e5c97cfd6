#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "shell/win32/encoding_win.h"
#include "skin/skin.h"
#include "skin/skin_platform_win.h"

namespace quenstrel {
namespace {

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring ProgramFolder() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return Folder(self);
}

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(dir.c_str());
}

// Wine keeps a library file locked after a load that failed for a missing
// dependency, until the process ends; earlier runs' folders go here.
void SweepStaleTrees(const std::wstring& temp) {
  static bool swept = false;
  if (swept) return;
  swept = true;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  constexpr unsigned long long kHour = 36'000'000'000ull;  // in 100 ns
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((temp + L"quenstrel-skin-*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        ticks(now) - ticks(data.ftLastWriteTime) > kHour) {
      RemoveTree(temp + data.cFileName);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

// The real loader, with the run and system directories moved into folders of
// the test's own, so no copy ever goes into the shared system directory.
class RedirectedPlatform : public WindowsSkinPlatform {
 public:
  std::string runDirectory;
  std::string systemDirectory;
  std::string RunDirectory() override { return runDirectory; }
  unsigned SystemDirectory(char* buffer, unsigned size) override {
    const auto length = static_cast<unsigned>(systemDirectory.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, systemDirectory.c_str(), length + 1);
    return length;
  }
};

// Each case has a fresh folder with Chinese-named run, system and current
// directories; the fixture libraries are copied in as SkinH_EL.dll.
class SkinOnWindows : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetCurrentDirectoryW(MAX_PATH, originalCwd);
    SweepStaleTrees(temp);
    static int serial = 0;
    root = std::wstring(temp) + L"quenstrel-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++serial);
    run = root + L"\\\x7A0B\x5E8F";     // 程序
    system = root + L"\\\x7CFB\x7EDF";  // 系统
    cwd = root + L"\\\x5F53\x524D";     // 当前
    for (const std::wstring& dir : {root, run, system, cwd}) {
      ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr)) << GbkFromWide(dir);
    }
    platform.runDirectory = GbkFromWide(run);
    platform.systemDirectory = GbkFromWide(system) + "\\";
  }
  void TearDown() override {
    SetCurrentDirectoryW(originalCwd);
    for (const std::wstring& path : placed) {
      while (HMODULE module = GetModuleHandleW(path.c_str())) FreeLibrary(module);
    }
    RemoveTree(root);
  }

  std::wstring Place(const wchar_t* fixture, const std::wstring& dir,
                     const std::wstring& name = L"SkinH_EL.dll") {
    const std::wstring from = ProgramFolder() + L"\\" + fixture + L".dll";
    const std::wstring to = dir + L"\\" + name;
    EXPECT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << GbkFromWide(from);
    placed.push_back(to);
    return to;
  }
  std::string Read(const std::wstring& path) {
    return fs.ReadWholeFile(GbkFromWide(path)).value_or("<none>");
  }
  void Write(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(fs.ReplaceWholeFile(GbkFromWide(path), bytes));
  }
  static bool Loaded(const std::wstring& path) { return GetModuleHandleW(path.c_str()) != nullptr; }
  static std::string CallLine(std::string_view data, const char* rest) {
    return "data=" + std::to_string(reinterpret_cast<std::uintptr_t>(data.data())) +
           " length=" + std::to_string(data.size()) + " " + rest + "\r\n";
  }

  WindowsFileSystem fs;
  RedirectedPlatform platform;
  Skin skin{platform};
  wchar_t originalCwd[MAX_PATH] = {};
  std::wstring root, run, system, cwd;
  std::vector<std::wstring> placed;
};

TEST_F(SkinOnWindows, AttachesTheCopyBesideTheProgramWithTheBuiltInSkin) {
  const std::wstring library = Place(L"skin_fixture", run);
  skin.FirstSkinStep();
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(library));
  ASSERT_TRUE(skin.SecondSkinStep());
  EXPECT_EQ(Read(library + L".log"), CallLine(SkinResource(), "password=null a=0 b=0 c=0"));
  EXPECT_EQ(Read(library + L".bin"), SkinResource());
  EXPECT_TRUE(Loaded(library));  // the skin keeps working through it
}

TEST_F(SkinOnWindows, TakesTheSystemCopyOnlyWhenTheRunDirectoryHasNone) {
  const std::wstring inSystem = Place(L"skin_fixture", system);
  ASSERT_TRUE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(inSystem));
  EXPECT_EQ(Read(inSystem + L".log"), CallLine(SkinResource(), "password=null a=0 b=0 c=0"));

  const std::wstring besideProgram = Place(L"skin_fixture", run);
  skin.FirstSkinStep();
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(inSystem));
  ASSERT_TRUE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(besideProgram));
  EXPECT_EQ(Read(besideProgram + L".log"), CallLine(SkinResource(), "password=null a=0 b=0 c=0"));
}

TEST_F(SkinOnWindows, WithoutAnyCopyNothingIsCalled) {
  skin.FirstSkinStep();
  EXPECT_EQ(skin.SkinLibraryPath(), "");
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(run + L"\\SkinH_EL.dll"));
  EXPECT_EQ(GetModuleHandleW(L"SkinH_EL.dll"), nullptr);
}

// Both exist, are chosen over the system copy, and fail to load.
TEST_F(SkinOnWindows, ADirectoryOrATextFileNamedLikeTheLibraryGivesThePlainLook) {
  const std::wstring inSystem = Place(L"skin_fixture", system);
  const std::wstring besideProgram = run + L"\\SkinH_EL.dll";
  ASSERT_TRUE(CreateDirectoryW(besideProgram.c_str(), nullptr));
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(besideProgram));

  ASSERT_TRUE(RemoveDirectoryW(besideProgram.c_str()));
  Write(besideProgram, "MZ is not enough to make a library\r\n");
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(skin.SkinLibraryPath(), GbkFromWide(besideProgram));
  SetLastError(0);
  EXPECT_EQ(platform.LoadLibraryAt(GbkFromWide(besideProgram)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));

  EXPECT_FALSE(Loaded(inSystem));
  EXPECT_EQ(Read(inSystem + L".log"), "<none>");
}

TEST_F(SkinOnWindows, ALibraryWithoutTheExportIsUnloadedAgain) {
  const std::wstring library = Place(L"skin_fixture_noexport", run);
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_FALSE(Loaded(library));
  EXPECT_EQ(Read(library + L".log"), "<none>");
}

TEST_F(SkinOnWindows, ANonZeroResultIsAFailureAfterTheCall) {
  const std::wstring library = Place(L"skin_fixture", run);
  Write(library + L".ret", "-7");
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_EQ(Read(library + L".log"), CallLine(SkinResource(), "password=null a=0 b=0 c=0"));
}

TEST_F(SkinOnWindows, PassesTheArgumentsInTheirOrder) {
  const std::wstring library = Place(L"skin_fixture", run);
  skin.LocateSkinLibrary(GbkFromWide(library));
  const std::string data = "\x81\x5C.SHE";
  ASSERT_TRUE(skin.AttachSkin(data, "\xC3\xDC\xC2\xEB", 1, -2, 3));
  EXPECT_EQ(Read(library + L".log"), CallLine(data, "password=\xC3\xDC\xC2\xEB a=1 b=-2 c=3"));
  EXPECT_EQ(Read(library + L".bin"), data);
}

// A relative path is made absolute against the current directory, and the
// same library named in another letter case is the one already loaded.
TEST_F(SkinOnWindows, ARelativeOrDifferentlyCasedPathReachesTheSameLibrary) {
  const std::wstring library = Place(L"skin_fixture", run);
  ASSERT_TRUE(SetCurrentDirectoryW(run.c_str()));
  skin.LocateSkinLibrary(" skinh_el.DLL ");
  ASSERT_TRUE(skin.AttachSkin("a", "", 0, 0, 0));
  skin.LocateSkinLibrary(GbkFromWide(library));
  ASSERT_TRUE(skin.AttachSkin("b", "", 0, 0, 0));
  EXPECT_EQ(Read(library + L".bin"), "b");
  FreeLibrary(GetModuleHandleW(library.c_str()));  // held once, by the first bind
  EXPECT_FALSE(Loaded(library));
}

// A library of the wrong convention leaves 24 bytes on the stack; the call
// puts the stack back, reports failure, and the program goes on.
TEST_F(SkinOnWindows, ACdeclExportIsCaughtAndTheStackPutBack) {
  const std::wstring library = Place(L"skin_fixture_cdecl", run);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_FALSE(skin.SecondSkinStep());
  }
  const std::string log = Read(library + L".log");
  EXPECT_EQ(log.size(), 1000 * CallLine(SkinResource(), "password=null a=0 b=0 c=0").size());

  const std::wstring proper = Place(L"skin_fixture", system);
  HMODULE module = LoadLibraryW(proper.c_str());
  ASSERT_NE(module, nullptr);
  const auto attach = platform.FindExport(module, "SkinH_AttachRes");
  EXPECT_EQ(platform.CallAttach(attach, AttachArguments{}), std::optional<int>(0));
  FreeLibrary(module);
}

TEST_F(SkinOnWindows, ADependencyIsTakenBesideTheLibraryNeverFromTheCurrentDirectory) {
  const std::wstring library = Place(L"skin_fixture_dependent", run);
  Place(L"skin_fixture_dependency", cwd, L"skin_fixture_dependency.dll");
  ASSERT_TRUE(SetCurrentDirectoryW(cwd.c_str()));
  EXPECT_FALSE(skin.SecondSkinStep());
  EXPECT_FALSE(Loaded(library));

  const std::wstring beside =
      Place(L"skin_fixture_dependency", run, L"skin_fixture_dependency.dll");
  EXPECT_TRUE(skin.SecondSkinStep());
  EXPECT_TRUE(Loaded(beside));
  EXPECT_FALSE(Loaded(cwd + L"\\skin_fixture_dependency.dll"));
}

TEST(WindowsSkinPlatform, GivesTheSystemDirectoryInTheWayOfGetSystemDirectoryA) {
  WindowsSkinPlatform platform;
  wchar_t wide[MAX_PATH];
  const UINT n = GetSystemDirectoryW(wide, MAX_PATH);
  ASSERT_GT(n, 0u);
  const std::string expected = GbkFromWide(std::wstring_view(wide, n));
  EXPECT_EQ(Skin(platform).SystemDirectoryWithSlash(), expected + "\\");

  char small[4] = "xyz";
  EXPECT_EQ(platform.SystemDirectory(small, sizeof small), expected.size() + 1);
  EXPECT_STREQ(small, "xyz");
}

}  // namespace
}  // namespace quenstrel
