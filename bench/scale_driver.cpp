// One run at a given size of catalogue: load, one description search, one
// edit, with the peak memory after each; and, given a folder, the same
// search against GNU grep over the folded text, process start included.
//   quenstrel_scale FACTOR [FOLDER]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_fakes.h"
#include "bench/catalogue_generator.h"
#include "catalogue/catalogue.h"
#include "catalogue/editing.h"
#include "search/catalogue_search.h"
#include "search/initials.h"

namespace quenstrel::bench {
namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The median wall time of `runs` calls, in milliseconds.
double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int k = 0; k < runs; ++k) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// grep prints every matching line to a file, as the search returns every
// hit. Not to /dev/null, where GNU grep stops at the first match; and in the
// C locale, where GBK bytes are text rather than a binary file, which grep
// would also leave at the first match.
void RunGrep(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = path + ".grep";
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string grep = "grep", fixed = "-F", pattern = "jcq", file = path;
  char* argv[] = {grep.data(), fixed.data(), pattern.data(), file.data(), nullptr};
  pid_t pid = 0;
  std::string locale = "LC_ALL=C";
  char* env[] = {locale.data(), nullptr};
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv, env) != 0) std::exit(1);
  int status = 0;
  waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
}

int Run(int factor, const char* folder) {
  const std::string& text = BenchCatalogueText(factor);
  std::printf("catalogue: %dx, %zu bytes; peak %.1f MB\n", factor, text.size(), PeakMegabytes());

  MemoryFileSystem fs;
  fs.file = text;
  NullView view;
  view.box = "WAIT   changed";
  NullPump pump;
  Catalogue catalogue;
  const double load = MedianMs(5, [&] { LoadCatalogue(catalogue, fs, view); });
  std::printf("load: %.3f ms, %zu records; peak %.1f MB\n", load, catalogue.records.size(),
              PeakMegabytes());

  std::size_t hits = 0;
  const double search =
      MedianMs(21, [&] { hits = SearchCatalogue(catalogue.records, "jcq", 2, pump).size(); });
  std::printf("search \"jcq\": %.3f ms, %zu bytes of result; peak %.1f MB\n", search, hits,
              PeakMegabytes());

  const double edit = MedianMs(5, [&] {
    ModifyInstruction(EditingContext{catalogue, fs, view, pump}, "WAIT");
  });
  std::printf("modify WAIT: %.3f ms; peak %.1f MB\n", edit, PeakMegabytes());

  if (folder != nullptr) {
    const std::string path = std::string(folder) + "/folded_" + std::to_string(factor) + ".txt";
    std::ofstream(path, std::ios::binary) << FoldInitials(text);
    RunGrep(path);  // the file now in the page cache
    // Turn about, so that both see the same load on the machine.
    std::vector<double> greps, searches;
    for (int k = 0; k < 31; ++k) {
      greps.push_back(MedianMs(1, [&] { RunGrep(path); }));
      searches.push_back(MedianMs(1, [&] { SearchCatalogue(catalogue.records, "jcq", 2, pump); }));
    }
    std::sort(greps.begin(), greps.end());
    std::sort(searches.begin(), searches.end());
    const double grep = greps[greps.size() / 2];
    const double mine = searches[searches.size() / 2];
    std::printf("grep -F jcq over the folded text: %.3f ms; search: %.3f ms; grep / search %.2f\n",
                grep, mine, grep / mine);
  }
  return 0;
}

}  // namespace
}  // namespace quenstrel::bench

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quenstrel_scale FACTOR [FOLDER]\n");
    return 2;
  }
  return quenstrel::bench::Run(std::atoi(argv[1]), argc > 2 ? argv[2] : nullptr);
}
