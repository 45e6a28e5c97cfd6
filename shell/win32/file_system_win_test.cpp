#include "shell/win32/file_system_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/win32/encoding_win.h"

namespace quenstrel {
namespace {

// Each test works in a fresh directory with a Chinese name under %TEMP%.
class WindowsFileSystemTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    dir = std::wstring(temp) + L"quenstrel-\x76EE\x5F55-" + std::to_wstring(GetCurrentProcessId()) +
          L"-" + std::to_wstring(++serial);
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    target = GbkFromWide(dir) + "\\汇编指令集.txt";
  }
  void TearDown() override {
    for (const std::wstring& name : Names()) {
      const std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(dir.c_str());
  }
  std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
  // Opens the target without sharing, as another program might.
  HANDLE HoldExclusively() {
    return CreateFileW(WideFromGbk(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  WindowsFileSystem fs;
  std::wstring dir;
  std::string target;
};

TEST_F(WindowsFileSystemTest, ReplacesWholeFilesAndLeavesNothingBehind) {
  EXPECT_FALSE(fs.Exists(target));
  EXPECT_FALSE(fs.ReadWholeFile(target).has_value());
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "MOV  x\r\n"));
  EXPECT_TRUE(fs.Exists(target));
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>("MOV  x\r\n"));

  std::string big(5 << 20, 'A');
  for (std::size_t i = 0; i < big.size(); i += 4099) big[i] = '\xB0';
  ASSERT_TRUE(fs.ReplaceWholeFile(target, big));
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>(big));
  ASSERT_TRUE(fs.ReplaceWholeFile(target, ""));
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>(""));
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"\x6C47\x7F16\x6307\x4EE4\x96C6.txt"});
}

TEST_F(WindowsFileSystemTest, RefusesAReadOnlyFileAndKeepsIt) {
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "old\r\n"));
  const std::wstring wide = WideFromGbk(target);
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(fs.ReplaceWholeFile(target, "new\r\n"));
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>("old\r\n"));
  EXPECT_TRUE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(WindowsFileSystemTest, AFileHeldWithoutSharingIsUnreadableAndNotReplaced) {
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "old\r\n"));
  HANDLE held = HoldExclusively();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fs.Exists(target));
  EXPECT_FALSE(fs.ReadWholeFile(target).has_value());
  EXPECT_FALSE(fs.ReplaceWholeFile(target, "new\r\n"));
  CloseHandle(held);
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>("old\r\n"));
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(WindowsFileSystemTest, ADirectoryExistsButIsNeitherReadNorReplaced) {
  ASSERT_TRUE(CreateDirectoryW(WideFromGbk(target).c_str(), nullptr));
  EXPECT_TRUE(fs.Exists(target));
  EXPECT_FALSE(fs.ReplaceWholeFile(target, "new\r\n"));
  RemoveDirectoryW(WideFromGbk(target).c_str());
  EXPECT_TRUE(Names().empty());
  EXPECT_FALSE(fs.Exists(""));
}

TEST_F(WindowsFileSystemTest, KeepsTheFilesOtherAttributes) {
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "old\r\n"));
  const std::wstring wide = WideFromGbk(target);
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "new\r\n"));
  EXPECT_TRUE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// The id of a process that has ended: this test program run once more,
// for no test.
DWORD EndedProcessId() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=None";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul =
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return 0;
  }
  WaitForSingleObject(info.hProcess, 30000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  CloseHandle(nul);
  return info.dwProcessId;
}

// A save that a kill cut short leaves its temporary file; the next save
// removes it, and nothing that is not such a leftover of an ended process.
TEST_F(WindowsFileSystemTest, ASaveRemovesTheTemporaryFilesOfEndedProcesses) {
  const DWORD ended = EndedProcessId();
  ASSERT_NE(ended, 0u);
  const std::wstring name = L"\x6C47\x7F16\x6307\x4EE4\x96C6.txt";
  const std::wstring endedOwn = name + L"." + std::to_wstring(ended) + L"-1.tmp";
  std::vector<std::wstring> kept = {
      name + L".notes.tmp",
      name + L"." + std::to_wstring(ended) + L"-x.tmp",
      L"other.txt." + std::to_wstring(ended) + L"-1.tmp",
  };
  // Names this process would pick next: a killed process of the same id may
  // have left them. They are passed over, and kept.
  for (int n = 1; n <= 30; ++n) {
    kept.push_back(name + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(n) + L".tmp");
  }
  std::vector<std::wstring> created = kept;
  created.push_back(endedOwn);
  kept.push_back(name);
  for (const std::wstring& file : created) {
    HANDLE handle = CreateFileW((dir + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
  }
  ASSERT_TRUE(fs.ReplaceWholeFile(target, "new\r\n"));
  std::vector<std::wstring> names = Names();
  std::sort(names.begin(), names.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(names, kept);
  EXPECT_EQ(fs.ReadWholeFile(target), std::optional<std::string>("new\r\n"));
}

TEST(WindowsRunDirectory, IsTheFolderOfTheProgramWithoutSeparator) {
  WindowsFileSystem fs;
  const std::string dir = fs.RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::string self = GbkFromWide(module);
  EXPECT_EQ(self.rfind('\\'), dir.size());
  EXPECT_EQ(self.substr(0, dir.size()), dir);
}

TEST(Encoding, RoundTripsGbkAndReportsWhatItCannotSpell) {
  const std::string gbk = "汇编 MOV│π，。";
  bool lossless = false;
  EXPECT_EQ(GbkFromWide(WideFromGbk(gbk), &lossless), gbk);
  EXPECT_TRUE(lossless);
  EXPECT_EQ(WideFromGbk("\xBB\xE3"), std::wstring(L"\x6C47"));
  GbkFromWide(L"A\xD83D\xDE00", &lossless);  // an emoji has no GBK form
  EXPECT_FALSE(lossless);
}

}  // namespace
}  // namespace quenstrel
