#pragma once
// The scan behind FoldedMatch, for the files that read blocks in their own
// ways. Each such file may be compiled for its own instruction set, so what
// is here has internal linkage: no file links another's copy.
#include <algorithm>
#include <bit>
#include <cstdint>

#include "search/folded_match.h"
#include "search/initials.h"

// Sixteen bytes at a time with SSE2: always on x86-64; on 32-bit x86 when
// the processor has it, asked for function by function.
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

namespace quenstrel::folded {
namespace {

using Byte = unsigned char;
using Mask = std::uint64_t;
constexpr std::size_t kBlock = 64;
constexpr std::size_t kChunk = 16;

struct Masks {
  Mask high = 0;    // bytes of 0x80 and above
  Mask equal = 0;   // bytes equal to the query's first
  Mask inRows = 0;  // bytes whose row may hold the query's first as a letter
};

// The masks of the `r` bytes (at most a block) at `block`, one at a time.
// Kept out of line: with SIMD it reads only the shortest texts.
[[gnu::noinline]] inline Masks PlainMasks(const Byte* block, std::size_t r, const Query& q) {
  Masks m;
  for (std::size_t k = 0; k < r; ++k) {
    const Byte b = block[k];
    m.high |= Mask{b >= 0x80} << k;
    m.equal |= Mask{b == q.first} << k;
    const bool in0 = static_cast<Byte>(b - q.lows[0]) <= q.spans[0];
    const bool in1 = static_cast<Byte>(b - q.lows[1]) <= q.spans[1];
    m.inRows |= Mask{in0 || in1} << k;
  }
  return m;
}

// Places the masks of one load `shift` bits up (down when negative).
inline void AddMasks(Mask high, Mask equal, Mask inRows, int shift, Masks& m) {
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

#if defined(QUENSTREL_SSE2)
struct Sse2Wanted {
  __m128i first, low0, span0, low1, span1;
};

QUENSTREL_SSE2_FUNCTION inline Sse2Wanted Sse2WantedOf(const Query& q) {
  const auto splat = [](Byte b) { return static_cast<char>(b); };
  return {_mm_set1_epi8(splat(q.first)), _mm_set1_epi8(splat(q.lows[0])),
          _mm_set1_epi8(splat(q.spans[0])), _mm_set1_epi8(splat(q.lows[1])),
          _mm_set1_epi8(splat(q.spans[1]))};
}

// The masks of the sixteen bytes at `p`, placed `shift` bits up.
QUENSTREL_SSE2_FUNCTION inline void AddChunk(const Byte* p, const Sse2Wanted& w, int shift,
                                             Masks& m) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i zero = _mm_setzero_si128();
  // x - low <= span, unsigned: the saturating difference is zero.
  const __m128i in0 = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, w.low0), w.span0), zero);
  const __m128i in1 = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(v, w.low1), w.span1), zero);
  AddMasks(static_cast<std::uint16_t>(_mm_movemask_epi8(v)),
           static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, w.first))),
           static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_or_si128(in0, in1))), shift, m);
}

// A block shorter than sixteen bytes, read as the sixteen bytes that end
// with it when they lie at or after `low`.
QUENSTREL_SSE2_FUNCTION inline Masks ShortMasks(const Byte* block, std::size_t r,
                                                const Byte* low, const Query& q,
                                                const Sse2Wanted& w) {
  const int shift = static_cast<int>(kChunk - r);
  if (block < low + shift) return PlainMasks(block, r, q);
  Masks m;
  AddChunk(block + r - kChunk, w, -shift, m);
  return m;
}

// The masks of a block, sixteen bytes at a time.
QUENSTREL_SSE2_FUNCTION inline Masks Sse2Masks(const Byte* block, std::size_t r,
                                               const Byte* low, const Query& q) {
  const Sse2Wanted w = Sse2WantedOf(q);
  if (r < kChunk) return ShortMasks(block, r, low, q, w);
  // Four loads whatever the length, the last ones overlapping: no branch on
  // how long the text is.
  Masks m;
  for (std::size_t k = 0; k < kBlock / kChunk; ++k) {
    const std::size_t offset = std::min(k * kChunk, r - kChunk);
    AddChunk(block + offset, w, static_cast<int>(offset), m);
  }
  return m;
}
#endif

// A run of bytes of 0x80 and above reads as lead, trail, lead, ...; the byte
// after a run that ends on a lead is its trail whatever its value. So the
// leads are the bytes at even distances from the start of their run. Adding
// each run's first bit to the runs clears exactly the runs that start at an
// even place.
inline Mask LeadBytes(Mask high) {
  constexpr Mask kEven = 0x5555555555555555;
  const Mask starts = high & ~(high << 1);
  const Mask evenRuns = high & ~(high + (starts & kEven));
  return (evenRuns & kEven) | (high & ~evenRuns & ~kEven);
}

inline Byte Cell(const Query& q, const Byte* pair) {
  return q.table[pair[0] * kInitialsStride + pair[1]];
}

// The query after its first byte, against the folded text from the character
// that starts at `at`, after `pending` (a copied trail byte, or -1), with
// spaces skipped.
inline bool RestMatches(const Query& q, const Byte* text, std::size_t n, std::size_t at,
                        int pending) {
  for (std::size_t k = 1; k < q.text.size(); ++k) {
    int c = -1;
    while (c < 0) {
      if (pending >= 0) {
        c = pending;
        pending = -1;
      } else if (at == n) {
        return false;
      } else if (text[at] >= 0x80 && at + 1 < n) {
        const Byte cell = Cell(q, text + at);
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
    if (c != static_cast<Byte>(q.text[k])) return false;
  }
  return true;
}

// Nothing is folded ahead. A block of 64 bytes at a time, `blockMasks` finds
// the lead bytes and the bytes equal to the query's first; only the pairs in
// rows that may hold that first byte as a letter are looked up, and the rest
// of the query is matched from each place the folded text could start it.
// So there is no branch per character and nothing is stored.
template <typename BlockMasks>
inline bool Scan(const Query& q, const Byte* text, std::size_t n, const Byte* low,
                 BlockMasks blockMasks) {
  Mask trailFirst = 0;  // 1 when the block starts with a trail byte
  for (std::size_t at = 0; at < n; at += kBlock) {
    const std::size_t r = std::min(kBlock, n - at);
    const Byte* block = text + at;
    const Masks m = blockMasks(block, r, low, q);
    const Mask valid = r == kBlock ? ~Mask{0} : (Mask{1} << r) - 1;
    const Mask high = m.high & valid & ~trailFirst;
    const Mask equal = m.equal & valid;
    Mask leads = LeadBytes(high);
    const Mask trails = (leads << 1) | trailFirst;
    trailFirst = leads >> (kBlock - 1);
    // A lead byte with nothing after it stands alone.
    if (at + r == n) leads &= ~(Mask{1} << (r - 1));

    // Only pairs in the rows that hold the letter are looked up.
    Mask letters = 0;
    for (Mask rest = leads & m.inRows; rest != 0; rest &= rest - 1) {
      const int b = std::countr_zero(rest);
      letters |= Mask{Cell(q, block + b) == q.first} << b;
    }
    // A byte equal to the query's first is one of the folded text unless it
    // is half of a pair that has a letter; such halves are rare.
    Mask hits = letters | (equal & ~(leads | trails));
    for (Mask rest = equal & (leads | trails); rest != 0; rest &= rest - 1) {
      const int b = std::countr_zero(rest);
      const std::size_t lead = at + static_cast<std::size_t>(b) - ((trails >> b) & 1);
      if (Cell(q, text + lead) == ' ') hits |= Mask{1} << b;
    }
    for (; hits != 0; hits &= hits - 1) {
      if (q.text.size() == 1) return true;
      const int b = std::countr_zero(hits);
      const std::size_t i = at + static_cast<std::size_t>(b);
      // Where the folded text goes on after the matched byte.
      const bool letter = (letters >> b) & 1;
      const bool copiedLead = !letter && ((leads >> b) & 1);
      const std::size_t next = i + 1 + (letter || copiedLead);
      // Most starts fail at once on the next character, a pair whose letter
      // or lead byte is not the query's second.
      if (!copiedLead && next + 1 < n && text[next] >= 0x80) {
        const Byte cell = Cell(q, text + next);
        if ((cell == ' ' ? text[next] : cell) != static_cast<Byte>(q.text[1])) continue;
      }
      if (RestMatches(q, text, n, next, copiedLead ? text[i + 1] : -1)) return true;
    }
  }
  return false;
}

}  // namespace
}  // namespace quenstrel::folded
