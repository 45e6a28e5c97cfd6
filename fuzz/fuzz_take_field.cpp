// TakeField on any text, with the first input byte as the separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/record.h"
#include "fuzz/check.h"

using namespace quenstrel;

namespace {

// Field 1 and, when a separator follows it, the rest without separators.
struct Split {
  std::string word;
  std::string rest;
  bool hasRest = false;
};

Split SplitPlainly(std::string_view text, char separator) {
  Split s;
  std::size_t i = 0;
  while (i < text.size() && text[i] == separator) ++i;
  while (i < text.size() && text[i] != separator) s.word += text[i++];
  s.hasRest = i < text.size();
  for (; i < text.size(); ++i) {
    if (text[i] != separator) s.rest += text[i];
  }
  return s;
}

bool IsSubstring(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string delimiter(1, static_cast<char>(data[0]));
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const char separator = delimiter[0];

  const std::string word = TakeField(text, delimiter, 1);
  const Split plain = SplitPlainly(text, separator);
  FUZZ_CHECK(word == plain.word);
  FUZZ_CHECK(IsSubstring(word, text));
  FUZZ_CHECK(word.find(separator) == std::string::npos);
  for (int field : {2, 0, -1, 3}) {
    const std::string rest = TakeField(text, delimiter, field);
    FUZZ_CHECK(rest.size() <= text.size());
    FUZZ_CHECK(rest.find(separator) == std::string::npos);
    // Field 2 is the text after the first word, separators dropped; with no
    // separator after the word there is no rest, and the word stands in.
    FUZZ_CHECK(rest == (plain.hasRest ? plain.rest : plain.word));
  }
  // Without a separator byte nothing splits.
  FUZZ_CHECK(TakeField(text, "", 1) == text && TakeField(text, "", 2) == text);
  // A longer delimiter counts only by its first byte.
  FUZZ_CHECK(TakeField(text, delimiter + "x", 2) == TakeField(text, delimiter, 2));
  return 0;
}
