#include "bench/catalogue_generator.h"

#include <map>

#include "bench/bench_fakes.h"
#include "catalogue/catalogue.h"
#include "resources/resources.h"

namespace quenstrel::bench {

const std::string& BenchCatalogueText(int factor) {
  static std::map<int, std::string> cache;
  auto [it, fresh] = cache.try_emplace(factor);
  if (fresh) {
    for (int copy = 0; copy < factor; ++copy) it->second.append(BuiltInCatalogue());
  }
  return it->second;
}

const std::vector<std::string>& BenchCatalogue(int factor) {
  // Loaded as the program loads it, so the records lie in memory as they
  // would there.
  static std::map<int, Catalogue> cache;
  auto [it, fresh] = cache.try_emplace(factor);
  if (fresh) {
    MemoryFileSystem file;
    file.file = BenchCatalogueText(factor);
    NullView list;
    LoadCatalogue(it->second, file, list);
  }
  return it->second.records;
}

}  // namespace quenstrel::bench
