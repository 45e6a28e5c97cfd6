#pragma once
#include <string>
#include <vector>

namespace quenstrel::bench {

// A catalogue file of `factor` copies of the built-in text.
const std::string& BenchCatalogueText(int factor);

// Its records, loaded.
const std::vector<std::string>& BenchCatalogue(int factor);

}  // namespace quenstrel::bench
