// What loading and each editing command cost, on an in-memory file system.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "bench/bench_fakes.h"
#include "bench/catalogue_generator.h"
#include "catalogue/catalogue.h"
#include "catalogue/editing.h"

namespace quenstrel::bench {
namespace {

void BM_LoadCatalogue(benchmark::State& state) {
  MemoryFileSystem fs;
  fs.file = BenchCatalogueText(static_cast<int>(state.range(0)));
  NullView view;
  Catalogue catalogue;
  for (auto _ : state) LoadCatalogue(catalogue, fs, view);
}

// 200,000 records in the order that makes a middle-pivot quicksort quadratic,
// against the same records shuffled (tools/gen_large_catalogue.py).
void LoadFile(benchmark::State& state, const char* name) {
  MemoryFileSystem fs;
  std::ifstream in(std::string(QUENSTREL_LARGE_DIR) + "/" + name, std::ios::binary);
  fs.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (fs.file.empty()) state.SkipWithError("no large catalogue: build the large_catalogues target");
  NullView view;
  Catalogue catalogue;
  for (auto _ : state) LoadCatalogue(catalogue, fs, view);
}
void BM_LoadAdversarial(benchmark::State& state) { LoadFile(state, "adversarial_200000.txt"); }
void BM_LoadShuffled(benchmark::State& state) { LoadFile(state, "shuffled_200000.txt"); }

// Each iteration starts from the same file, so every command does the same work.
template <typename Command>
void RunCommand(benchmark::State& state, const char* box, Command command) {
  MemoryFileSystem fs;
  NullView view;
  view.box = box;
  NullPump pump;
  Catalogue catalogue;
  const std::string& original = BenchCatalogueText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    fs.file = original;
    LoadCatalogue(catalogue, fs, view);
    state.ResumeTiming();
    benchmark::DoNotOptimize(command(EditingContext{catalogue, fs, view, pump}));
  }
}

void BM_AddInstruction(benchmark::State& state) {
  RunCommand(state, "addx   new record", [](EditingContext ctx) { return AddInstruction(ctx); });
}
void BM_ModifyInstruction(benchmark::State& state) {
  RunCommand(state, "WAIT   changed",
             [](EditingContext ctx) { return ModifyInstruction(ctx, "WAIT"); });
}
void BM_DeleteInstruction(benchmark::State& state) {
  RunCommand(state, "", [](EditingContext ctx) { return DeleteInstruction(ctx, "WAIT"); });
}

BENCHMARK(BM_LoadCatalogue)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadAdversarial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShuffled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddInstruction)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModifyInstruction)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteInstruction)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quenstrel::bench
