#include "search/folded_match.h"

#include <array>

#include "search/folded_match_avx2.h"
#include "search/folded_scan.h"

namespace quenstrel {
namespace {

using folded::Byte;

// Rows below it and from it on are kept as two ranges: the table's two areas.
constexpr std::size_t kSecondArea = 0xD8;

// For each letter, whether each lead byte's row holds it; made once.
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

bool HasSse2() {
#if defined(__SSE2__)
  return true;
#elif defined(QUENSTREL_SSE2)
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
#else
  return false;
#endif
}

bool HasAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  static const bool has = folded::kAvx2ScanBuilt && __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

FoldedMatch::Reading Best() {
  if (HasAvx2()) return FoldedMatch::Reading::kAvx2;
  if (HasSse2()) return FoldedMatch::Reading::kSse2;
  return FoldedMatch::Reading::kPlain;
}

}  // namespace

bool FoldedMatch::Supported(Reading reading) {
  switch (reading) {
    case Reading::kAvx2:
      return HasAvx2();
    case Reading::kSse2:
      return HasSse2();
    default:
      return true;
  }
}

FoldedMatch::FoldedMatch(std::string_view query, Reading reading)
    : reading_(Supported(reading) && reading != Reading::kBest ? reading : Best()) {
  query_.text = query;
  query_.table = reinterpret_cast<const Byte*>(InitialsTable().data());
  query_.first = static_cast<Byte>(query[0]);
  if (query_.first < 'a' || query_.first > 'z') return;
  const auto& rows = LetterRows().has[query_.first - 'a'];
  for (std::size_t area = 0; area < 2; ++area) {
    const std::size_t from = area == 0 ? 0x80 : kSecondArea;
    const std::size_t to = area == 0 ? kSecondArea : 256;
    std::size_t lowest = to, highest = from;
    for (std::size_t lead = from; lead < to; ++lead) {
      if (!rows[lead]) continue;
      lowest = std::min(lowest, lead);
      highest = lead;
    }
    if (lowest == to) continue;
    query_.lows[area] = static_cast<Byte>(lowest);
    query_.spans[area] = static_cast<Byte>(highest - lowest);
  }
}

bool FoldedMatch::In(std::string_view text, const char* low) const {
  if (reading_ == Reading::kAvx2) return folded::ScanAvx2(query_, text, low);
  const auto* bytes = reinterpret_cast<const Byte*>(text.data());
  const auto* from = reinterpret_cast<const Byte*>(low);
#if defined(QUENSTREL_SSE2)
  if (reading_ == Reading::kSse2) {
    return folded::Scan(query_, bytes, text.size(), from, folded::Sse2Masks);
  }
#endif
  return folded::Scan(query_, bytes, text.size(), from,
                      [](const Byte* block, std::size_t r, const Byte*, const folded::Query& q) {
                        return folded::PlainMasks(block, r, q);
                      });
}

}  // namespace quenstrel
