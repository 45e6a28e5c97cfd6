#pragma once
// The scan of FoldedMatch with AVX2, in a file compiled for it.
#include <string_view>

#include "search/folded_match.h"

namespace quenstrel::folded {

// Whether the file was compiled for AVX2. Read, not called: nothing of that
// file runs before the processor is known to have AVX2.
extern const bool kAvx2ScanBuilt;

// FoldedMatch::In for `q`; only where kAvx2ScanBuilt and the processor has
// AVX2.
bool ScanAvx2(const Query& q, std::string_view text, const char* low);

}  // namespace quenstrel::folded
