#include "search/initials.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quenstrel {
namespace {

using Byte = unsigned char;

// Index of the first byte of `word` (as loaded from memory) with its high bit
// set; `highBits` is word & 0x8080...80 and is not zero.
int FirstHighByte(std::size_t highBits) {
  if constexpr (std::endian::native == std::endian::little) {
    return std::countr_zero(highBits) / 8;
  } else {
    return std::countl_zero(highBits) / 8;
  }
}

// Copies the ASCII bytes from `in` to `out` up to the next byte of 0x80 or
// above or `end`, advancing both. Whole blocks are stored before they are
// tested: that writes at most a block past the copied bytes, which stays
// inside the output because the output never runs ahead of the input.
void CopyAscii(const Byte*& in, const Byte* end, char*& out) {
#if defined(__SSE2__)
  while (end - in >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
    const int high = _mm_movemask_epi8(block);
    if (high != 0) {
      const int n = std::countr_zero(static_cast<unsigned>(high));
      in += n;
      out += n;
      return;
    }
    in += 16;
    out += 16;
  }
#endif
  constexpr std::size_t kHighBits = ~std::size_t{0} / 0xFF * 0x80;
  while (end - in >= static_cast<std::ptrdiff_t>(sizeof(std::size_t))) {
    std::size_t word;
    std::memcpy(&word, in, sizeof word);
    std::memcpy(out, &word, sizeof word);
    if ((word & kHighBits) != 0) {
      const int n = FirstHighByte(word & kHighBits);
      in += n;
      out += n;
      return;
    }
    in += sizeof word;
    out += sizeof word;
  }
  while (in != end && *in < 0x80) *out++ = static_cast<char>(*in++);
}

// Folds the double-byte characters from `in` until the next ASCII byte or
// `end`, advancing both pointers.
void FoldPairs(const Byte*& in, const Byte* end, char*& out, std::string_view table) {
  while (in != end && *in >= 0x80) {
    if (end - in == 1) {
      *out++ = static_cast<char>(*in++);  // lone lead byte at the end
      return;
    }
    const std::size_t at = std::size_t{in[0]} * kInitialsStride + in[1];
    const char cell = at < table.size() ? table[at] : ' ';
    // Without an initial the pair is copied; with one, the letter replaces
    // the lead byte and the trail byte written after it is overwritten next.
    const bool copied = cell == ' ';
    out[0] = copied ? static_cast<char>(in[0]) : cell;
    out[1] = static_cast<char>(in[1]);
    out += copied ? 2 : 1;
    in += 2;
  }
}

}  // namespace

std::size_t FoldInitialsTo(std::string_view text, char* out, std::string_view table) {
  const Byte* in = reinterpret_cast<const Byte*>(text.data());
  const Byte* const end = in + text.size();
  char* const start = out;
  while (in != end) {
    CopyAscii(in, end, out);
    FoldPairs(in, end, out, table);
  }
  return static_cast<std::size_t>(out - start);
}

void FoldInitialsInto(std::string_view text, std::string& out, std::string_view table) {
  // Growing fills only the part beyond the old size; shrinking fills nothing.
  out.resize(text.size());
  out.resize(FoldInitialsTo(text, out.data(), table));
}

std::string FoldInitials(std::string_view text, std::string_view table) {
  std::string result;
  FoldInitialsInto(text, result, table);
  return result;
}

}  // namespace quenstrel
