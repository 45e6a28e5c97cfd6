// Times the real program at growing catalogue sizes and prints medians:
//   e2e_scale_bench [runs] [copies...]   (copies default to 1 100 1000)
// For each size, K copies of the built-in catalogue: start-up until the
// window shows the full list, one keystroke's mnemonic search (the query
// box's WM_SETTEXT round trip), one description search (Enter, sent), one
// Add (the click until the success message), and the process's peak memory.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "shell/win32/control_ids.h"
#include "tests/e2e/driver_win.h"
#include "tests/e2e/timing_win.h"
#include "tests/e2e/editing_support_win.h"

namespace quenstrel::e2e {
namespace {

namespace id = control_id;

constexpr int kStartTimeoutMs = 600000;

double Megabytes(unsigned long long bytes) { return static_cast<double>(bytes) / (1 << 20); }

void SendEnter(const RunningApp& app) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(app.Control(id::编辑框_查询), WM_KEYDOWN, VK_RETURN, 0, SMTO_NORMAL,
                      kStartTimeoutMs, &result);
}

void Measure(int runs, int copies) {
  std::string file;
  for (int i = 0; i < copies; ++i) file += BuiltInCatalogue();
  const int count = 223 * copies;
  const int startRuns = copies >= 1000 ? std::max(1, runs / 3) : runs;
  std::vector<double> starts;
  for (int i = 0; i < startRuns; ++i) {
    RunningApp app(file);
    const double start = Now();
    if (!app.Start(count, kStartTimeoutMs)) std::exit(1);
    starts.push_back(Now() - start);
  }

  RunningApp app(file);
  if (!app.Start(count, kStartTimeoutMs)) std::exit(1);
  const std::optional<MemoryUse> loaded = app.PeakMemory();
  HWND query = app.Control(id::编辑框_查询);
  HWND box = app.Control(id::编辑框_功能);
  const double keystroke = TimeMedian(
      runs, [&] { app.SetText(query, ""); }, [&] { app.SetText(query, "movs"); });
  app.SetText(query, "jcq");
  const double description = TimeMedian(
      runs, [&] { app.SetText(box, ""); }, [&] { SendEnter(app); });
  const std::size_t shown = app.Text(box).size();
  const double add = TimeMedian(
      std::max(1, startRuns), [&] { app.SetText(box, "zzz  新的"); },
      [&] { Click(app, id::按钮_添加, kStartTimeoutMs); });
  if (app.Text(box) != "亲：添加汇编指令成功！") std::printf("  (no success message)\n");
  const std::optional<MemoryUse> peak = app.PeakMemory();
  std::printf(
      "%5dx (%7d records): start %9.1f ms, keystroke \"movs\" %8.2f ms, Enter \"jcq\" %8.2f ms "
      "(%zu bytes shown), add %9.1f ms\n",
      copies, count, Median(starts), keystroke, description, shown, add);
  if (loaded && peak) {
    std::printf(
        "        peak memory after start %.1f MB resident, %.1f MB committed; "
        "after the searches and adds %.1f MB, %.1f MB\n",
        Megabytes(loaded->workingSet), Megabytes(loaded->committed), Megabytes(peak->workingSet),
        Megabytes(peak->committed));
  }
}

}  // namespace
}  // namespace quenstrel::e2e

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1, 100, 1000};
  for (int copies : sizes) quenstrel::e2e::Measure(runs, copies);
  return 0;
}
