#include "search/folded_match.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

// Blocks are read sixteen bytes at a time with SSE2: always on x86-64; on
// 32-bit x86, when the processor has it, asked for function by function.
#if defined(__SSE2__)
#define QUENSTREL_SSE2 1
#define QUENSTREL_SSE2_FUNCTION
#elif defined(__GNUC__) && defined(__i386__)
#define QUENSTREL_SSE2 1
#define QUENSTREL_SSE2_FUNCTION __attribute__((target("sse2")))
#endif
#if defined(QUENSTREL_SSE2)
#include <emmintrin.h>
#endif

#include "search/initials.h"

namespace quenstrel {
namespace {

using Byte = unsigned char;
using Mask = std::uint64_t;
constexpr std::size_t kBlock = 64;
constexpr std::size_t kChunk = 16;
// Rows below it and from it on are kept as two ranges: the table's two areas.
constexpr Byte kSecondArea = 0xD8;

// For each letter, the bit of each lead byte whose row holds it; made once.
struct RowsOfLetters {
  std::array<std::array<bool, 256>, 26> has{};
};

const RowsOfLetters& LetterRows() {
  static const RowsOfLetters rows = [] {
    RowsOfLetters r;
    const std::string_view table = InitialsTable();
    for (std::size_t lead = 0x80; lead < 256; ++lead) {
      for (std::size_t trail = 0; trail < 256; ++trail) {
        const std::size_t at = lead * kInitialsStride + trail;
        const char cell = at < table.size() ? table[at] : ' ';
        if (cell >= 'a' && cell <= 'z') r.has[static_cast<std::size_t>(cell - 'a')][lead] = true;
      }
    }
    return r;
  }();
  return rows;
}

struct Masks {
  Mask high = 0;     // bytes of 0x80 and above
  Mask equal = 0;    // bytes equal to the query's first
  Mask inRows = 0;   // bytes whose row may hold the query's first as a letter
};

// What a block is searched for: the query's first byte, and the two ranges
// of lead bytes whose rows may hold it as a letter.
struct Wanted {
  Byte first, low0, span0, low1, span1;
};

// The masks of the `r` bytes (at most a block) at `block`, one at a time.
// Kept out of line: with SSE2 it reads only the shortest texts.
[[gnu::noinline]] Masks PlainMasks(const Byte* block, std::size_t r, const Wanted& w) {
  Masks m;
  for (std::size_t k = 0; k < r; ++k) {
    const Byte b = block[k];
    m.high |= Mask{b >= 0x80} << k;
    m.equal |= Mask{b == w.first} << k;
    const bool in0 = static_cast<Byte>(b - w.low0) <= w.span0;
    const bool in1 = static_cast<Byte>(b - w.low1) <= w.span1;
    m.inRows |= Mask{in0 || in1} << k;
  }
  return m;
}

#if defined(QUENSTREL_SSE2)
struct WantedBytes {
  __m128i first, low0, span0, low1, span1;
};

// The masks of the sixteen bytes at `p`, placed `shift` bits up (down when
// negative).
QUENSTREL_SSE2_FUNCTION inline void AddChunk(const Byte* p, const WantedBytes& w, int shift,
                                             Masks& m) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i zero = _mm_setzero_si128();
  // x - low <= span, unsigned: the saturating difference is zero.
  const __m128i in0 = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, w.low0), w.span0), zero);
  const __m128i in1 = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, w.low1), w.span1), zero);
  const Mask high = static_cast<std::uint16_t>(_mm_movemask_epi8(v));
  const Mask equal = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, w.first)));
  const Mask inRows = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_or_si128(in0, in1)));
  if (shift >= 0) {
    m.high |= high << shift;
    m.equal |= equal << shift;
    m.inRows |= inRows << shift;
  } else {
    m.high |= high >> -shift;
    m.equal |= equal >> -shift;
    m.inRows |= inRows >> -shift;
  }
}

// The same masks, sixteen bytes at a time. A short block is read as the
// sixteen bytes that end with it when they lie at or after `low`.
QUENSTREL_SSE2_FUNCTION inline Masks ChunkMasks(const Byte* block, std::size_t r, const Byte* low,
                                         const Wanted& wanted) {
  const WantedBytes w{_mm_set1_epi8(static_cast<char>(wanted.first)),
                      _mm_set1_epi8(static_cast<char>(wanted.low0)),
                      _mm_set1_epi8(static_cast<char>(wanted.span0)),
                      _mm_set1_epi8(static_cast<char>(wanted.low1)),
                      _mm_set1_epi8(static_cast<char>(wanted.span1))};
  Masks m;
  if (r >= kChunk) {
    // Four loads whatever the length, the last ones overlapping: no branch
    // on how long the text is.
    for (std::size_t k = 0; k < kBlock / kChunk; ++k) {
      const std::size_t offset = std::min(k * kChunk, r - kChunk);
      AddChunk(block + offset, w, static_cast<int>(offset), m);
    }
    return m;
  }
  const int shift = static_cast<int>(kChunk - r);
  if (block < low + shift) return PlainMasks(block, r, wanted);
  AddChunk(block + r - kChunk, w, -shift, m);
  return m;
}
#endif

Masks BlockMasks(const Byte* block, std::size_t r, const Byte* low, const Wanted& w) {
#if defined(__SSE2__)
  return ChunkMasks(block, r, low, w);
#elif defined(QUENSTREL_SSE2)
  static const bool sse2 = __builtin_cpu_supports("sse2");
  return sse2 ? ChunkMasks(block, r, low, w) : PlainMasks(block, r, w);
#else
  (void)low;
  return PlainMasks(block, r, w);
#endif
}

// A run of bytes of 0x80 and above reads as lead, trail, lead, ...; the byte
// after a run that ends on a lead is its trail whatever its value. So the
// leads are the bytes at even distances from the start of their run. Adding
// each run's first bit to the runs clears exactly the runs that start at an
// even place.
Mask LeadBytes(Mask high) {
  constexpr Mask kEven = 0x5555555555555555;
  const Mask starts = high & ~(high << 1);
  const Mask evenRuns = high & ~(high + (starts & kEven));
  return (evenRuns & kEven) | (high & ~evenRuns & ~kEven);
}

}  // namespace

FoldedMatch::FoldedMatch(std::string_view query)
    : query_(query),
      table_(reinterpret_cast<const Byte*>(InitialsTable().data())),
      lows_{0, 0},
      spans_{0, 0} {
  const auto first = static_cast<Byte>(query_[0]);
  if (first < 'a' || first > 'z') return;
  const auto& rows = LetterRows().has[first - 'a'];
  for (int area = 0; area < 2; ++area) {
    const std::size_t from = area == 0 ? 0x80 : kSecondArea;
    const std::size_t to = area == 0 ? kSecondArea : 256;
    std::size_t lowest = to, highest = from;
    for (std::size_t lead = from; lead < to; ++lead) {
      if (!rows[lead]) continue;
      lowest = std::min(lowest, lead);
      highest = lead;
    }
    if (lowest == to) continue;
    lows_[area] = static_cast<Byte>(lowest);
    spans_[area] = static_cast<Byte>(highest - lowest);
  }
}

// Nothing is folded ahead. A block of 64 bytes at a time, SIMD finds the lead
// bytes and the bytes equal to the query's first; only the pairs in rows that
// may hold that first byte as a letter are looked up, and the rest of the
// query is matched from each place the folded text could start it. So there
// is no branch per character and nothing is stored.
bool FoldedMatch::In(std::string_view textView, const char* lowChar) const {
  const auto* text = reinterpret_cast<const Byte*>(textView.data());
  const auto* low = reinterpret_cast<const Byte*>(lowChar);
  const std::size_t n = textView.size();
  const auto first = static_cast<Byte>(query_[0]);
  const Wanted wanted{first, lows_[0], spans_[0], lows_[1], spans_[1]};
  Mask trailFirst = 0;  // 1 when the block starts with a trail byte
  for (std::size_t at = 0; at < n; at += kBlock) {
    const std::size_t r = std::min(kBlock, n - at);
    const Byte* block = text + at;
    const Masks m = BlockMasks(block, r, low, wanted);
    const Mask valid = r == kBlock ? ~Mask{0} : (Mask{1} << r) - 1;
    const Mask high = m.high & valid & ~trailFirst;
    const Mask equal = m.equal & valid;
    Mask leads = LeadBytes(high);
    const Mask trails = (leads << 1) | trailFirst;
    trailFirst = leads >> (kBlock - 1);
    // A lead byte with nothing after it stands alone.
    if (at + r == n) leads &= ~(Mask{1} << (r - 1));

    // Only pairs in the rows that hold the letter are looked up.
    Mask hits = 0;
    Mask letters = 0;
    for (Mask rest = leads & m.inRows; rest != 0; rest &= rest - 1) {
      const int b = std::countr_zero(rest);
      const Byte* pair = block + b;
      letters |= Mask{table_[pair[0] * kInitialsStride + pair[1]] == first} << b;
    }
    hits |= letters;
    // A byte equal to the query's first is one of the folded text unless it
    // is half of a pair that has a letter; such halves are rare.
    hits |= equal & ~(leads | trails);
    for (Mask rest = equal & (leads | trails); rest != 0; rest &= rest - 1) {
      const int b = std::countr_zero(rest);
      const std::size_t lead = at + static_cast<std::size_t>(b) - ((trails >> b) & 1);
      if (table_[text[lead] * kInitialsStride + text[lead + 1]] == ' ') hits |= Mask{1} << b;
    }
    for (; hits != 0; hits &= hits - 1) {
      const int b = std::countr_zero(hits);
      const std::size_t i = at + static_cast<std::size_t>(b);
      // Where the folded text goes on after the matched byte.
      bool found;
      if ((letters >> b) & 1) {
        found = RestMatches(text, n, i + 2, -1);
      } else if ((leads >> b) & 1) {
        found = RestMatches(text, n, i + 2, text[i + 1]);
      } else {
        found = RestMatches(text, n, i + 1, -1);
      }
      if (found) return true;
    }
  }
  return false;
}

// The query after its first byte, against the folded text from the character
// that starts at `at`, after `pending` (a copied trail byte, or -1), with
// spaces skipped.
bool FoldedMatch::RestMatches(const Byte* text, std::size_t n, std::size_t at,
                              int pending) const {
  for (std::size_t k = 1; k < query_.size(); ++k) {
    int c = -1;
    while (c < 0) {
      if (pending >= 0) {
        c = pending;
        pending = -1;
      } else if (at == n) {
        return false;
      } else if (text[at] >= 0x80 && at + 1 < n) {
        const Byte cell = table_[text[at] * kInitialsStride + text[at + 1]];
        if (cell == ' ') {
          c = text[at];
          pending = text[at + 1];
        } else {
          c = cell;
        }
        at += 2;
      } else {
        c = text[at++];
      }
      if (c == ' ') c = -1;
    }
    if (c != static_cast<Byte>(query_[k])) return false;
  }
  return true;
}

}  // namespace quenstrel
