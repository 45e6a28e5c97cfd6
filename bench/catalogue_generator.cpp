#include "bench/catalogue_generator.h"

#include <map>

#include "catalogue/catalogue.h"
#include "resources/resources.h"

namespace quenstrel::bench {

namespace {

class TextFile : public FileSystem {
 public:
  explicit TextFile(std::string text) : text_(std::move(text)) {}
  std::string RunDirectory() override { return "C:\\q"; }
  bool Exists(const std::string&) override { return true; }
  std::optional<std::string> ReadWholeFile(const std::string&) override { return text_; }
  bool ReplaceWholeFile(const std::string&, std::string_view) override { return false; }

 private:
  std::string text_;
};

class NoList : public CatalogueView {
  void ClearList() override {}
  void AddListItem(const std::string&) override {}
  void SetCountCaption(const std::string&) override {}
};

}  // namespace

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
    TextFile file(BenchCatalogueText(factor));
    NoList list;
    LoadCatalogue(it->second, file, list);
  }
  return it->second.records;
}

}  // namespace quenstrel::bench
