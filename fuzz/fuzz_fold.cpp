// FoldInitials and its two buffer forms on any text, with the real table and
// with one cut short; and FoldedMatch against folding the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/check.h"
#include "resources/resources.h"
#include "search/folded_match.h"
#include "search/initials.h"

using namespace quenstrel;

namespace {

char Cell(std::string_view table, unsigned char lead, unsigned char trail) {
  const std::size_t at = lead * kInitialsStride + trail;
  return at < table.size() ? table[at] : ' ';
}

// The fold a byte at a time, and the number of pairs it turned into letters.
std::string PlainFold(std::string_view text, std::string_view table, std::size_t& letters) {
  std::string out;
  letters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[++i]);
    const char cell = Cell(table, lead, trail);
    if (cell == ' ') {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    } else {
      out += cell;
      ++letters;
    }
  }
  return out;
}

void CheckTable(std::string_view text, std::string_view table) {
  std::size_t letters = 0;
  const std::string plain = PlainFold(text, table, letters);
  FUZZ_CHECK(plain.size() + letters == text.size());
  FUZZ_CHECK(FoldInitials(text, table) == plain);

  // Into a string that holds something already, longer or shorter.
  std::string into(text.rbegin(), text.rend());
  into += "left over";
  FoldInitialsInto(text, into, table);
  FUZZ_CHECK(into == plain);
  std::string small = "x";
  FoldInitialsInto(text, small, table);
  FUZZ_CHECK(small == plain);

  // Into a buffer of exactly the text's length: the sanitizer sees any
  // write past it.
  std::unique_ptr<char[]> buffer(new char[text.size()]);
  const std::size_t n = FoldInitialsTo(text, buffer.get(), table);
  FUZZ_CHECK(std::string_view(buffer.get(), n) == plain);
}

// The first bytes of the input, up to four and without spaces, sought in the
// rest, which lies in an allocation of its own after `before` bytes: the
// sanitizer sees a read before the allowed start or past the end.
void CheckMatch(std::string_view input) {
  if (input.empty()) return;
  const std::size_t before = static_cast<unsigned char>(input[0]) % 20;
  input.remove_prefix(1);
  std::string query;
  while (!input.empty() && query.size() < 4 && input[0] != ',') {
    if (input[0] != ' ') query += input[0];
    input.remove_prefix(1);
  }
  if (query.empty()) return;
  std::unique_ptr<char[]> placed(new char[before + input.size()]);
  std::fill_n(placed.get(), before, 'x');
  std::copy(input.begin(), input.end(), placed.get() + before);
  const std::string_view text(placed.get() + before, input.size());
  std::string folded = FoldInitials(text);
  std::erase(folded, ' ');
  const bool expected = folded.find(query) != std::string::npos;
  using Reading = FoldedMatch::Reading;
  for (Reading reading : {Reading::kPlain, Reading::kSse2, Reading::kAvx2}) {
    if (!FoldedMatch::Supported(reading)) continue;
    const FoldedMatch match(query, reading);
    FUZZ_CHECK(match.In(text, placed.get()) == expected);
    FUZZ_CHECK(match.In(text, text.data()) == expected);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view table = InitialsTable();
  FUZZ_CHECK(table.size() == kInitialsTableSize);
  CheckTable(text, table);
  // Cut where the input says: cells beyond the end count as spaces.
  const std::size_t cut = size < 2 ? 0 : (data[0] * kInitialsStride + data[1]) % table.size();
  CheckTable(text, table.substr(0, cut));

  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) FUZZ_CHECK(FoldInitials(text) == text);
  CheckMatch(text);
  return 0;
}
