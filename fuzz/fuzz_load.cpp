// A catalogue file of any bytes, loaded: cut, filtered, sorted, listed,
// counted; then written and loaded again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/gbk_texts.h"
#include "catalogue/record.h"
#include "fuzz/check.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/support/reference.h"

using namespace quenstrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FakeFileSystem fs;
  const std::string path = CatalogueFilePath(fs);
  fs.files[path] = bytes;
  FakeCatalogueView view;
  Catalogue catalogue;
  LoadCatalogue(catalogue, fs, view);

  const auto& records = catalogue.records;
  FUZZ_CHECK(records == reference::Load(bytes));
  FUZZ_CHECK(std::is_sorted(records.begin(), records.end()));
  for (const std::string& record : records) {
    FUZZ_CHECK(IsRecordLine(record));
    FUZZ_CHECK(!reference::HasLineEnd(record));
    FUZZ_CHECK(!EndsInHalfCharacter(record));
    FUZZ_CHECK(record.find('\0') == std::string::npos);
  }
  FUZZ_CHECK(view.items.size() == records.size());
  for (std::size_t k = 0; k < records.size(); ++k) {
    FUZZ_CHECK(view.items[k] == TakeField(records[k], " ", 1));
  }
  FUZZ_CHECK(catalogue.listedCount == static_cast<int>(records.size()));
  FUZZ_CHECK(view.countCaption ==
             gbk::kCountBefore + std::to_string(records.size()) + gbk::kCountAfter);
  // Loading reads; it never rewrites a file that exists.
  FUZZ_CHECK(fs.writeCalls == 0 && fs.files[path] == bytes);

  // What the writer writes loads as the same catalogue.
  FUZZ_CHECK(WriteCatalogue(catalogue, fs));
  FUZZ_CHECK(fs.files[path] == reference::FileText(records));
  FakeCatalogueView again;
  Catalogue reloaded;
  LoadCatalogue(reloaded, fs, again);
  FUZZ_CHECK(reloaded.records == records);
  FUZZ_CHECK(again.items == view.items);
  return 0;
}
