#pragma once
// The scan of FoldedMatch with AVX2, in a file compiled for it.
#include <string_view>

#include "search/folded_match.h"

namespace quenstrel::folded {

// Whether the processor runs AVX2 and this build has the scan for it.
bool HasAvx2();

// FoldedMatch::In for `q`; only where HasAvx2().
bool ScanAvx2(const Query& q, std::string_view text, const char* low);

}  // namespace quenstrel::folded
