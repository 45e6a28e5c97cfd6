// The scan with blocks read 32 bytes at a time. Compiled for AVX2 where the
// compiler can target it; used only on a processor that has it.
#include "search/folded_match_avx2.h"

#include "search/folded_scan.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace quenstrel::folded {
namespace {

#if defined(__AVX2__)
struct Avx2Wanted {
  __m256i first, low0, span0, low1, span1;
};

// The masks of the 32 bytes at `p`, placed `shift` bits up.
inline void AddLane(const Byte* p, const Avx2Wanted& w, int shift, Masks& m) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i in0 =
      _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_sub_epi8(v, w.low0), w.span0), zero);
  const __m256i in1 =
      _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_sub_epi8(v, w.low1), w.span1), zero);
  AddMasks(static_cast<std::uint32_t>(_mm256_movemask_epi8(v)),
           static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, w.first))),
           static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(in0, in1))), shift,
           m);
}

Masks Avx2Masks(const Byte* block, std::size_t r, const Byte* low, const Query& q) {
  constexpr std::size_t kLane = 32;
  if (r < kLane) return Sse2Masks(block, r, low, q);
  const auto splat = [](Byte b) { return _mm256_set1_epi8(static_cast<char>(b)); };
  const Avx2Wanted w{splat(q.first), splat(q.lows[0]), splat(q.spans[0]), splat(q.lows[1]),
                     splat(q.spans[1])};
  // Two loads whatever the length, the second overlapping the first.
  Masks m;
  const std::size_t second = std::min(kLane, r - kLane);
  AddLane(block, w, 0, m);
  AddLane(block + second, w, static_cast<int>(second), m);
  return m;
}
#endif

}  // namespace

#if defined(__AVX2__)
extern const bool kAvx2ScanBuilt = true;
#else
extern const bool kAvx2ScanBuilt = false;
#endif

bool ScanAvx2(const Query& q, std::string_view text, const char* low) {
  const auto* bytes = reinterpret_cast<const Byte*>(text.data());
  const auto* from = reinterpret_cast<const Byte*>(low);
#if defined(__AVX2__)
  return Scan(q, bytes, text.size(), from, Avx2Masks);
#else
  return Scan(q, bytes, text.size(), from,
              [](const Byte* block, std::size_t r, const Byte*, const Query& query) {
                return PlainMasks(block, r, query);
              });
#endif
}

}  // namespace quenstrel::folded
