// The byte-wise primitives against plain loops: FindText, PadRight and
// CompareText.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/check.h"
#include "search/text.h"

using namespace quenstrel;

namespace {

int PlainFind(std::string_view haystack, std::string_view needle, int startPos) {
  if (needle.empty()) return -1;
  const long from = startPos < 1 ? 0 : static_cast<long>(startPos) - 1;
  const long last = static_cast<long>(haystack.size()) - static_cast<long>(needle.size());
  for (long at = from; at <= last; ++at) {
    bool same = true;
    for (std::size_t k = 0; k < needle.size() && same; ++k) {
      same = haystack[static_cast<std::size_t>(at) + k] == needle[k];
    }
    if (same) return static_cast<int>(at) + 1;
  }
  return -1;
}

std::string PlainPad(std::string_view text, std::string_view padChar, int width) {
  if (width <= 0) return "";
  std::string out(text);
  while (!padChar.empty() && out.size() < static_cast<std::size_t>(width)) out += padChar[0];
  return out;
}

int PlainCompare(std::string_view a, std::string_view b) {
  for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) {
    const auto x = static_cast<unsigned char>(a[k]);
    const auto y = static_cast<unsigned char>(b[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  // Mostly small positions and widths, now and then the extremes.
  const int startPos =
      in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(-2, 64);
  const int width = in.ConsumeIntegralInRange<int>(-4, 600);
  const std::string padChar = in.ConsumeRandomLengthString(3);
  const std::string needle = in.ConsumeRandomLengthString(12);
  const std::string haystack = in.ConsumeRemainingBytesAsString();

  FUZZ_CHECK(FindText(haystack, needle, startPos) == PlainFind(haystack, needle, startPos));
  FUZZ_CHECK(FindText(haystack, needle, 0) == PlainFind(haystack, needle, 0));
  // The needle is always found in a haystack that starts with it.
  if (!needle.empty()) FUZZ_CHECK(FindText(needle + haystack, needle, 0) == 1);

  FUZZ_CHECK(PadRight(haystack, padChar, width) == PlainPad(haystack, padChar, width));
  FUZZ_CHECK(PadRight(needle, padChar, width) == PlainPad(needle, padChar, width));

  FUZZ_CHECK(CompareText(needle, haystack) == PlainCompare(needle, haystack));
  FUZZ_CHECK(CompareText(haystack, needle) == -PlainCompare(needle, haystack));
  FUZZ_CHECK(CompareText(haystack, haystack) == 0);
  return 0;
}
