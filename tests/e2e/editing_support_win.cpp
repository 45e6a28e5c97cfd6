#include "tests/e2e/editing_support_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <utility>

#include "shell/win32/control_ids.h"
#include "shell/win32/encoding_win.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

bool IsBlankLine(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ' ') continue;
    if (line.substr(i, 2) == "\xA1\xA1") {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

std::string Joined(const std::vector<std::wstring>& names) {
  std::string joined;
  for (const std::wstring& name : names) joined += GbkFromWide(name) + " ";
  return joined;
}

}  // namespace

std::vector<Record> LoadedRecords(std::string_view file) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < file.size();) {
    std::size_t end = file.find("\r\n", start);
    if (end == std::string_view::npos) end = file.size();
    const std::string_view line = file.substr(start, end - start);
    if (!IsBlankLine(line) && line[0] != ' ') lines.emplace_back(line);
    start = end + 2;
  }
  return RecordsOf(std::move(lines));
}

std::string FileOf(const std::vector<std::string>& lines) {
  std::string file;
  for (const std::string& line : lines) file += line + "\r\n";
  return file;
}

std::vector<std::string> LinesOf(const std::vector<Record>& records) {
  std::vector<std::string> lines;
  for (const Record& record : records) lines.push_back(record.line);
  return lines;
}

std::vector<std::wstring> FolderNames(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<unsigned long long> LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

Shown ShownBy(const RunningApp& app) {
  Shown shown;
  const int count = app.ListCount();
  for (int i = 0; i < count; ++i) shown.items.push_back(app.ListItem(i));
  shown.count = app.Text(app.Control(id::标签_指令个数));
  return shown;
}

Shown ShownFor(const std::vector<Record>& records) {
  Shown shown;
  for (const Record& record : records) shown.items.push_back(record.mnemonic);
  shown.count = "共有：" + std::to_string(records.size()) + "条汇编指令！";
  return shown;
}

Snapshot TakeSnapshot(const RunningApp& app) {
  const std::wstring path = app.RunDirectory() + L"\\" + kCatalogueName;
  return {app.CatalogueBytes(), LastWriteTime(path), FolderNames(app.RunDirectory()), ShownBy(app),
          WideText(app.Control(id::编辑框_功能))};
}

const EditCommand kEditCommands[3] = {
    {"add", "", "zzz  新 的", id::按钮_添加},
    {"modify", "WAIT", "WAIT  新的注解", id::按钮_修改},
    {"delete", "WAIT", "WAIT  等待", id::按钮_删除},
};

void PrepareCommand(const RunningApp& app, const EditCommand& command) {
  if (*command.select) {
    const int index = app.FindListItem(command.select);
    ASSERT_GE(index, 0) << command.select;
    app.SelectListItem(index);
  }
  app.SetText(app.Control(id::编辑框_功能), command.box);
}

bool Click(const RunningApp& app, int buttonId, unsigned timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(app.Control(buttonId), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs,
                             &result) != 0;
}

void ExpectUnchanged(const RunningApp& app, const Snapshot& before) {
  const Snapshot after = TakeSnapshot(app);
  EXPECT_TRUE(after.box == before.box) << GbkFromWide(after.box);
  EXPECT_EQ(after.shown.count, before.shown.count);
  EXPECT_TRUE(after.shown.items == before.shown.items);
  EXPECT_TRUE(after.file == before.file);
  EXPECT_EQ(after.written, before.written);
  EXPECT_TRUE(after.names == before.names) << Joined(after.names);
}

void ExpectAnswers(const RunningApp& app) {
  DWORD_PTR result = 0;
  const LRESULT answered =
      SendMessageTimeoutW(app.Control(id::编辑框_查询), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(L"WAIT"), SMTO_NORMAL, 10000, &result);
  ASSERT_NE(answered, 0) << "the window did not answer";
  const std::vector<std::string> items = ShownBy(app).items;
  const auto waits = std::count_if(items.begin(), items.end(), [](const std::string& item) {
    return item.find("WAIT") != std::string::npos;
  });
  const std::string shown = app.Text(app.Control(id::编辑框_功能));
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), waits) << shown;
  for (const Record& line : LoadedRecords(shown))
    EXPECT_NE(line.mnemonic.find("WAIT"), std::string::npos);
}

HeldFile::HeldFile(const std::wstring& path, bool sharedRead) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE inputRead = nullptr, outputRead = nullptr, outputWrite = nullptr;
  if (!CreatePipe(&inputRead, &input_, &inherit, 0)) return;
  if (!CreatePipe(&outputRead, &outputWrite, &inherit, 0)) return;
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inputRead;
  startup.hStdOutput = outputWrite;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  const std::wstring holder = BuildTreePath("e2e_holder.exe");
  std::wstring commandLine =
      L"\"" + holder + L"\" \"" + path + L"\"" + (sharedRead ? L" read" : L"");
  PROCESS_INFORMATION info{};
  const bool started = CreateProcessW(holder.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &info);
  CloseHandle(inputRead);
  CloseHandle(outputWrite);
  if (started) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    char said[16] = {};
    DWORD got = 0;
    ReadFile(outputRead, said, sizeof said - 1, &got, nullptr);
    held_ = std::string_view(said, got) == "held\n";
  }
  CloseHandle(outputRead);
}

void HeldFile::Release() {
  if (input_) CloseHandle(input_);
  input_ = nullptr;
  if (process_) {
    WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
  }
  process_ = nullptr;
  held_ = false;
}

}  // namespace quenstrel::e2e
