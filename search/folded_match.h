#pragma once
// Finding a query in the pinyin fold of a text without folding the text.
#include <cstdint>
#include <string_view>

namespace quenstrel {

class FoldedMatch {
 public:
  // `query` must not be empty and must hold no space.
  explicit FoldedMatch(std::string_view query);

  // Whether FoldInitials(text), with its spaces removed, contains the query.
  // `low` is the first byte before `text` that may be read (text.data() or
  // earlier, in the same array): a short text is read as the sixteen bytes
  // that end with it when they lie in that array.
  bool In(std::string_view text, const char* low) const;

 private:
  using Byte = unsigned char;

  bool RestMatches(const Byte* text, std::size_t n, std::size_t at, int pending) const;

  std::string_view query_;
  const Byte* table_;
  // Lead bytes whose rows may hold the query's first byte as a letter: two
  // ranges, each a first byte and a span (a span of 0 at byte 0: none).
  Byte lows_[2];
  Byte spans_[2];
};

}  // namespace quenstrel
