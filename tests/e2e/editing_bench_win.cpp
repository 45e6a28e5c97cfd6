// Times the three editing commands on the real program and prints medians:
//   e2e_editing_bench [runs]
// from the click until the success message shows, and within it the moment
// the catalogue file was replaced (the pass and the write; the rest is the
// reload), on the built-in catalogue and on one 100 times its size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/timing_win.h"
#include "tests/e2e/editing_support_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

struct Command {
  const char* name;
  const char* select;
  const char* box;
  int button;
  const char* message;
};

struct Clicking {
  const RunningApp* app;
  int button;
};

DWORD WINAPI ClickThread(void* param) {
  const auto* clicking = static_cast<Clicking*>(param);
  Click(*clicking->app, clicking->button, 600000);
  return 0;
}

// Click to message, and click to the file's replacement, in ms.
std::pair<double, double> TimeOnce(const std::string& file, int count, const Command& command) {
  RunningApp app(file);
  if (!app.Start(count)) std::exit(1);
  if (*command.select) app.SelectListItem(app.FindListItem(command.select));
  app.SetText(app.Control(id::编辑框_功能), command.box);
  const std::wstring path = app.RunDirectory() + L"\\" + kCatalogueName;
  const std::optional<unsigned long long> written = LastWriteTime(path);
  Clicking clicking{&app, command.button};
  const double start = Now();
  HANDLE thread = CreateThread(nullptr, 0, ClickThread, &clicking, 0, nullptr);
  double replaced = -1;
  while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
    if (replaced < 0 && LastWriteTime(path) != written) replaced = Now() - start;
  }
  const double done = Now() - start;
  CloseHandle(thread);
  if (app.Text(app.Control(id::编辑框_功能)) != command.message) {
    std::printf("  (%s: no success message)\n", command.name);
  }
  return {done, replaced};
}

void TimeCommands(int runs, int copies) {
  std::string file;
  for (int i = 0; i < copies; ++i) file += FirstRunFile();
  const Command commands[] = {
      {"add", "", "zzz  新的 一条.", id::按钮_添加, "亲：添加汇编指令成功！"},
      {"modify WAIT", "WAIT", "WAIT  新的注解", id::按钮_修改, "亲：修改注解成功！"},
      {"delete WAIT", "WAIT", "", id::按钮_删除, "亲：删除汇编指令成功！"},
  };
  for (const Command& command : commands) {
    std::vector<double> done, replaced;
    for (int i = 0; i < runs; ++i) {
      const auto [total, write] = TimeOnce(file, 223 * copies, command);
      done.push_back(total);
      replaced.push_back(write);
    }
    std::printf(
        "%3dx catalogue, %-12s click to message %9.1f ms, of which to the file replaced %9.1f ms\n",
        copies, command.name, Median(done), Median(replaced));
  }
}

}  // namespace
}  // namespace quenstrel::e2e

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  quenstrel::e2e::TimeCommands(runs, 1);
  quenstrel::e2e::TimeCommands(std::max(1, runs / 3), 100);
  return 0;
}
