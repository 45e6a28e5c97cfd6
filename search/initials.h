#pragma once
// Folding GBK text to pinyin initials: "寄存器" becomes "jcq".
#include <cstddef>
#include <string>
#include <string_view>

#include "resources/resources.h"

namespace quenstrel {

// The cell of the pair (lead, trail) is table[lead * kInitialsStride + trail]:
// a lower-case initial, or a space where the pair has none.
inline constexpr std::size_t kInitialsStride = 1000;
inline constexpr std::size_t kInitialsTableSize = 256000;

// Replaces every double-byte character whose cell holds a letter by that
// letter; everything else is copied. A lead byte takes the next byte with it
// whatever its value, and a lone lead byte at the end is copied. A cell that
// lies beyond the end of a short `table` counts as a space.
std::string FoldInitials(std::string_view text, std::string_view table = InitialsTable());

// The same fold into `out`, whose contents it replaces and whose capacity it
// reuses, so a caller folding record after record allocates only to grow.
// `text` must not view `out`'s own bytes.
void FoldInitialsInto(std::string_view text, std::string& out,
                      std::string_view table = InitialsTable());

// The same fold into `out`, which must hold text.size() bytes (the result is
// never longer than the text; bytes past the result may be overwritten).
// Returns the length of the result.
std::size_t FoldInitialsTo(std::string_view text, char* out,
                           std::string_view table = InitialsTable());

}  // namespace quenstrel
