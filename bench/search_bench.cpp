// What every keystroke costs: folding and the two searches, against the floor
// of folding the same bytes once with nothing else.
#include <benchmark/benchmark.h>

#include "bench/bench_fakes.h"
#include "bench/catalogue_generator.h"
#include "search/catalogue_search.h"
#include "search/initials.h"

namespace quenstrel::bench {
namespace {

void SetBytes(benchmark::State& state, int factor) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(BenchCatalogueText(factor).size()));
}

// One pass over every record, each pair through the table, into one buffer.
void BM_Floor(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const auto& records = BenchCatalogue(factor);
  const unsigned char* table = reinterpret_cast<const unsigned char*>(InitialsTable().data());
  std::string buffer(1 << 16, '\0');
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& record : records) {
      char* out = buffer.data();
      const std::size_t n = record.size();
      for (std::size_t i = 0; i < n; ++i) {
        const unsigned char lead = static_cast<unsigned char>(record[i]);
        if (lead < 0x80 || i + 1 == n) {
          *out++ = record[i];
          continue;
        }
        const unsigned char trail = static_cast<unsigned char>(record[++i]);
        const char cell = static_cast<char>(table[lead * 1000u + trail]);
        if (cell == ' ') {
          *out++ = static_cast<char>(lead);
          *out++ = static_cast<char>(trail);
        } else {
          *out++ = cell;
        }
      }
      total += static_cast<std::size_t>(out - buffer.data());
    }
    benchmark::DoNotOptimize(total);
    benchmark::ClobberMemory();
  }
  SetBytes(state, factor);
}

void BM_FoldInitials(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const std::string& text = BenchCatalogueText(factor);
  for (auto _ : state) benchmark::DoNotOptimize(FoldInitials(text));
  SetBytes(state, factor);
}

void Search(benchmark::State& state, const char* query, int field) {
  const int factor = static_cast<int>(state.range(0));
  const auto& records = BenchCatalogue(factor);
  NullPump pump;
  for (auto _ : state) benchmark::DoNotOptimize(SearchCatalogue(records, query, field, pump));
  SetBytes(state, factor);
}

void BM_SearchMnemonic(benchmark::State& state) { Search(state, "MOVS", 1); }
void BM_SearchDescription(benchmark::State& state) { Search(state, "jcq", 2); }

#define QUENSTREL_SIZES ->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_Floor) QUENSTREL_SIZES;
BENCHMARK(BM_FoldInitials) QUENSTREL_SIZES;
BENCHMARK(BM_SearchMnemonic) QUENSTREL_SIZES;
BENCHMARK(BM_SearchDescription) QUENSTREL_SIZES;

}  // namespace
}  // namespace quenstrel::bench
