// Times the real program from outside and prints medians:
//   e2e_bench [runs]
// start-up until the window shows its full list; one query keystroke (the
// query box's WM_SETTEXT until the description box holds the result) on the
// built-in catalogue and on one 100 times its size; and the display floor:
// the same result set straight into the description box.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/timing_win.h"
#include "tests/e2e/oracle.h"

namespace quenstrel::e2e {
namespace {

void StartUp(int runs) {
  std::vector<double> first, later;
  for (int i = 0; i < runs; ++i) {
    for (std::vector<double>* times : {&first, &later}) {
      // The second start finds the file the first one wrote.
      RunningApp app(times == &first ? std::nullopt : std::optional(FirstRunFile()));
      const double start = Now();
      if (!app.Start(223)) std::exit(1);
      times->push_back(Now() - start);
    }
  }
  std::printf("start until the window shows 223 items: %.1f ms (first run), %.1f ms (file there)\n",
              Median(first), Median(later));
}

void Keystrokes(int runs, int copies) {
  std::string file;
  for (int i = 0; i < copies; ++i) file += FirstRunFile();
  RunningApp app(file);
  if (!app.Start(223 * copies)) std::exit(1);
  HWND query = app.Control(control_id::编辑框_查询);
  HWND description = app.Control(control_id::编辑框_功能);
  for (const char* typed : {"movs", "f"}) {
    std::string upper = typed;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // Records repeated `copies` times sort next to each other.
    std::string sorted;
    for (const Record& record : SortedBuiltInRecords()) {
      if (record.mnemonic.find(upper) == std::string::npos) continue;
      for (int i = 0; i < copies; ++i) sorted += ResultLine(record);
    }
    const double keystroke = TimeMedian(
        runs, [&] { app.SetText(query, ""); }, [&] { app.SetText(query, typed); });
    if (app.Text(description) != sorted) std::printf("  (unexpected result for %s)\n", typed);
    const double floor = TimeMedian(
        runs, [&] { app.SetText(description, ""); }, [&] { app.SetText(description, sorted); });
    std::printf(
        "%3dx catalogue, \"%s\" (%zu bytes shown): keystroke %.2f ms, floor %.2f ms, "
        "ratio %.2f\n",
        copies, typed, sorted.size(), keystroke, floor, keystroke / floor);
  }
}

}  // namespace
}  // namespace quenstrel::e2e

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
  quenstrel::e2e::StartUp(runs);
  quenstrel::e2e::Keystrokes(runs, 1);
  quenstrel::e2e::Keystrokes(runs, 100);
  return 0;
}
