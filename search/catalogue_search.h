#pragma once
// The one search: which records of the catalogue have a field that contains
// the query, as lines ready to show.
#include <string>
#include <string_view>
#include <vector>

#include "search/event_pump.h"

namespace quenstrel {

// Tests field `fieldNumber` (1 mnemonic, else description) of every record,
// folded to pinyin initials, for `query` as a byte substring. Each hit gives
// the stored mnemonic padded to 15 bytes, the stored description without
// spaces, and CR LF. Lets waiting events run after every record; they may
// reload `records`, and the pass then goes on by position and stops at its
// current end.
std::string SearchCatalogue(const std::vector<std::string>& records, std::string_view query,
                            int fieldNumber, EventPump& pump);

}  // namespace quenstrel
