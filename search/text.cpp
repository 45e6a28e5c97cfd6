#include "search/text.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <utility>

namespace quenstrel {
namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// Width of the character that starts at `i`: 2 for a lead byte with a byte
// after it, else 1.
std::size_t CharWidthAt(std::string_view text, std::size_t i) {
  return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

bool IsBlankAt(std::string_view text, std::size_t i) {
  return text[i] == ' ' || text.substr(i, 2) == kFullWidthSpace;
}

}  // namespace

int FindText(std::string_view haystack, std::string_view needle, int startPos) {
  if (startPos < 1) startPos = 1;
  if (needle.empty() || haystack.empty()) return -1;
  const std::size_t from = static_cast<std::size_t>(startPos) - 1;
  if (from >= haystack.size()) return -1;
  const std::size_t at = haystack.find(needle, from);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

std::string PadRight(std::string_view text, std::string_view padChar, int width) {
  if (width <= 0) return {};
  std::string result(text);
  const std::size_t target = static_cast<std::size_t>(width);
  if (!padChar.empty() && result.size() < target) result.resize(target, padChar.front());
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  // char_traits<char> compares as unsigned char, which is byte order.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {

struct Order {
  bool ascending;
  // True when `a` must stand before `b`.
  template <typename Text>
  bool operator()(const Text& a, const Text& b) const {
    return ascending ? a < b : b < a;
  }
};

// Quicksort with the middle text as pivot. The pivot is followed by index as
// swaps move it, so nothing is copied. Recursing only into the smaller part
// keeps the stack at O(log n); past a depth bound the span is heap-sorted, so
// an adversarial order cannot make the sort quadratic.
template <typename Text>
void QuickSort(std::vector<Text>& t, std::ptrdiff_t lo, std::ptrdiff_t hi, Order before,
               int depth) {
  while (lo < hi) {
    if (depth-- == 0) {
      std::make_heap(t.begin() + lo, t.begin() + hi + 1, before);
      std::sort_heap(t.begin() + lo, t.begin() + hi + 1, before);
      return;
    }
    std::ptrdiff_t pivot = lo + (hi - lo) / 2;
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    while (i <= j) {
      while (before(t[i], t[pivot])) ++i;
      while (before(t[pivot], t[j])) --j;
      if (i > j) break;
      if (i != j) {
        std::swap(t[i], t[j]);
        if (pivot == i) {
          pivot = j;
        } else if (pivot == j) {
          pivot = i;
        }
      }
      ++i;
      --j;
    }
    // [lo, j] and [i, hi] are left to sort.
    if (j - lo < hi - i) {
      QuickSort(t, lo, j, before, depth);
      lo = i;
    } else {
      QuickSort(t, i, hi, before, depth);
      hi = j;
    }
  }
}

template <typename Text>
void Sort(std::vector<Text>& texts, bool ascending) {
  if (texts.size() < 2) return;
  const int depthBound = 2 * static_cast<int>(std::bit_width(texts.size()));
  QuickSort(texts, 0, static_cast<std::ptrdiff_t>(texts.size()) - 1, Order{ascending}, depthBound);
}

}  // namespace

void SortTexts(std::vector<std::string>& texts, bool ascending) { Sort(texts, ascending); }

void SortTexts(std::vector<std::string_view>& texts, bool ascending) { Sort(texts, ascending); }

std::string UpperCaseText(std::string_view text) {
  std::string result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const char c = result[i];
    if (IsLeadByte(c)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      result[i] = static_cast<char>(c - 0x20);
    }
  }
  return result;
}

std::string RemoveBlanks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t w = CharWidthAt(text, i);
    if (!IsBlankAt(text, i)) result.append(text.substr(i, w));
    i += w;
  }
  return result;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = 0;  // one past the last character that is not a blank
  bool leading = true;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t w = CharWidthAt(text, i);
    if (!IsBlankAt(text, i)) {
      if (leading) begin = i;
      leading = false;
      end = i + w;
    }
    i += w;
  }
  return leading ? std::string() : std::string(text.substr(begin, end - begin));
}

std::string RemoveLineEnds(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  // A CR and an LF that meet once the pair between them is gone make a line
  // end too, which would split the record when written: remove those as well.
  std::size_t trailingCrs = 0;  // single-byte CRs at the end of `result`
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t w = CharWidthAt(text, i);
    if (w == 1 && text[i] == '\n' && trailingCrs > 0) {
      result.pop_back();
      --trailingCrs;
    } else {
      result.append(text.substr(i, w));
      trailingCrs = w == 1 && text[i] == '\r' ? trailingCrs + 1 : 0;
    }
    i += w;
  }
  return result;
}

}  // namespace quenstrel
