#pragma once
// Finding a query in the pinyin fold of a text without folding the text.
#include <cstdint>
#include <string_view>

namespace quenstrel {

namespace folded {

// What the scan looks for: the query, the fold's table, and the two ranges
// of lead bytes whose rows may hold the query's first byte as a letter, each
// a first byte and a span (a span of 0 at byte 0: none).
struct Query {
  std::string_view text;
  const unsigned char* table = nullptr;
  unsigned char first = 0;
  unsigned char lows[2] = {0, 0};
  unsigned char spans[2] = {0, 0};
};

}  // namespace folded

class FoldedMatch {
 public:
  // How blocks of the text are read: the same results every way.
  enum class Reading { kBest, kPlain, kSse2, kAvx2 };

  // `query` must not be empty and must hold no space. A way of reading that
  // this processor lacks counts as the best it has.
  explicit FoldedMatch(std::string_view query, Reading reading = Reading::kBest);

  static bool Supported(Reading reading);

  // Whether FoldInitials(text), with its spaces removed, contains the query.
  // `low` is the first byte before `text` that may be read (text.data() or
  // earlier, in the same array): a short text is read as the sixteen bytes
  // that end with it when they lie in that array.
  bool In(std::string_view text, const char* low) const;

 private:
  folded::Query query_;
  Reading reading_;
};

}  // namespace quenstrel
