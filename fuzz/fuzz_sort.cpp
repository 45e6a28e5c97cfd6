// SortTexts against std::sort on lists cut from the input, both directions,
// over texts and over views.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "search/text.h"

using namespace quenstrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte is the separator between texts, so one input can be a
  // few long texts or many short ones, with many equal ones.
  const char separator = static_cast<char>(data[0]);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> texts;
  std::size_t start = 0;
  for (std::size_t k = 0; k <= rest.size(); ++k) {
    if (k == rest.size() || rest[k] == separator) {
      texts.emplace_back(rest.substr(start, k - start));
      start = k + 1;
    }
  }
  std::vector<std::string> expected = texts;
  std::sort(expected.begin(), expected.end());  // std::string's order is unsigned bytes

  std::vector<std::string> ascending = texts;
  SortTexts(ascending);
  FUZZ_CHECK(ascending == expected);
  std::vector<std::string> descending = texts;
  SortTexts(descending, false);
  FUZZ_CHECK(std::equal(descending.begin(), descending.end(), expected.rbegin(), expected.rend()));
  // The loader sorts views into the text.
  std::vector<std::string_view> views(texts.begin(), texts.end());
  SortTexts(views);
  FUZZ_CHECK(std::equal(views.begin(), views.end(), expected.begin(), expected.end()));
  SortTexts(views, false);
  FUZZ_CHECK(std::equal(views.begin(), views.end(), expected.rbegin(), expected.rend()));
  return 0;
}
