#pragma once
// Text primitives over GBK byte strings. Positions count bytes from 1.
#include <string>
#include <string_view>
#include <vector>

namespace quenstrel {

// A byte of 0x80 or above leads a double-byte character and takes the next
// byte with it, whatever that byte is. Every routine that steps over
// characters uses this; the others are byte-wise and say so.
constexpr bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Byte-wise. 1-based position of the first occurrence of `needle` at or after
// `startPos` (below 1 counts as 1), or -1. The empty needle is never found.
int FindText(std::string_view haystack, std::string_view needle, int startPos);

// Byte-wise. `text` followed by copies of the first byte of `padChar` up to
// `width` bytes; a longer text comes back whole, a width of 0 or less gives "".
std::string PadRight(std::string_view text, std::string_view padChar, int width);

// Byte-wise, unsigned: -1, 0 or 1; a proper prefix comes first.
int CompareText(std::string_view a, std::string_view b);

// Byte-wise, in place, allocating nothing. Descending is exactly the reverse
// of ascending.
void SortTexts(std::vector<std::string>& texts, bool ascending = true);
// The same order over views, which move cheaper than texts.
void SortTexts(std::vector<std::string_view>& texts, bool ascending = true);

// Changes only a to z; double-byte characters pass whole.
std::string UpperCaseText(std::string_view text);

// Removes every ASCII space and full-width space (A1 A1), character-wise.
std::string RemoveBlanks(std::string_view text);

// Removes ASCII and full-width spaces at both ends, character-wise.
std::string TrimBlanks(std::string_view text);

// Removes every CR LF pair, character-wise, also those that meet once the
// pair between them is gone; a lone CR or LF stays.
std::string RemoveLineEnds(std::string_view text);

}  // namespace quenstrel
