// The routines that step over double-byte characters whole: upper-casing,
// blank removal and trimming, and the removal of line ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/check.h"
#include "search/text.h"

using namespace quenstrel;

namespace {

bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }
std::size_t Width(std::string_view t, std::size_t i) {
  return IsLead(t[i]) && i + 1 < t.size() ? 2 : 1;
}
bool IsBlankAt(std::string_view t, std::size_t i) {
  return t[i] == ' ' || t.substr(i, 2) == "\xA1\xA1";
}

void CheckUpperCase(std::string_view text) {
  const std::string upper = UpperCaseText(text);
  FUZZ_CHECK(upper.size() == text.size());
  FUZZ_CHECK(UpperCaseText(upper) == upper);
  // At a character boundary a to z become A to Z; nothing else changes, and
  // a trail byte never does.
  for (std::size_t i = 0; i < text.size(); i += Width(text, i)) {
    const char c = text[i];
    FUZZ_CHECK(upper[i] == (c >= 'a' && c <= 'z' ? c - 0x20 : c));
    if (Width(text, i) == 2) FUZZ_CHECK(upper[i + 1] == text[i + 1]);
  }
}

// The characters of `text` that are not blanks, in order.
std::string PlainRemoveBlanks(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += Width(text, i)) {
    if (!IsBlankAt(text, i)) out += text.substr(i, Width(text, i));
  }
  return out;
}

// From the first character that is not a blank to the last.
std::string PlainTrimBlanks(std::string_view text) {
  std::size_t begin = text.size();
  std::size_t end = 0;
  for (std::size_t i = 0; i < text.size(); i += Width(text, i)) {
    if (IsBlankAt(text, i)) continue;
    if (begin == text.size()) begin = i;
    end = i + Width(text, i);
  }
  return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

void CheckBlanks(std::string_view text) {
  const std::string removed = RemoveBlanks(text);
  FUZZ_CHECK(removed == PlainRemoveBlanks(text));
  const std::string trimmed = TrimBlanks(text);
  FUZZ_CHECK(trimmed == PlainTrimBlanks(text));
  FUZZ_CHECK(TrimBlanks(trimmed) == trimmed);
}

void CheckLineEnds(std::string_view text) {
  // Scans from the first byte that drop each CR LF at a character boundary,
  // repeated until none is left.
  std::string plain(text);
  for (bool changed = true; changed;) {
    std::string next;
    for (std::size_t i = 0; i < plain.size();) {
      if (std::string_view(plain).substr(i, 2) == "\r\n") {
        i += 2;
        continue;
      }
      next += plain.substr(i, Width(plain, i));
      i += Width(plain, i);
    }
    changed = next != plain;
    plain = std::move(next);
  }
  FUZZ_CHECK(RemoveLineEnds(text) == plain);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckUpperCase(text);
  CheckBlanks(text);
  CheckLineEnds(text);
  return 0;
}
