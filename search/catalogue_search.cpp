#include "search/catalogue_search.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "search/folded_match.h"
#include "search/initials.h"
#include "search/text.h"

namespace quenstrel {
namespace {

constexpr std::size_t kMnemonicColumn = 15;

// A record's two fields as TakeField gives them, found without copying:
// field 1 is `word`; field 2 is `tail` with its spaces removed, or `word`
// itself when no space follows it.
struct Fields {
  std::string_view record;
  std::string_view word;
  std::string_view tail;
  bool hasTail = false;
};

Fields SplitFields(std::string_view text) {
  Fields f;
  f.record = text;
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return f;
  const std::size_t end = text.find(' ', start);
  f.word = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  if (end != std::string_view::npos) {
    f.tail = text.substr(end);
    f.hasTail = true;
  }
  return f;
}

void AppendWithoutSpaces(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t space = std::min(text.find(' ', i), text.size());
    out.append(text.data() + i, space - i);
    i = space + 1;
  }
}

bool HasLeadByte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsLeadByte(c); });
}

bool Contains(std::string_view field, std::string_view query) {
  return !query.empty() && field.find(query) != std::string_view::npos;
}

// Folding never creates or swallows a space: a pair is either copied whole or
// becomes one letter, and a lead byte before a space keeps it. So the fields
// of a folded record are the folds of its own fields, and only the field that
// is tested needs folding.
class FieldMatcher {
 public:
  FieldMatcher(std::string_view query, int fieldNumber) : query_(query) {
    if (fieldNumber != 1 && !query.empty() && query.find(' ') == std::string_view::npos) {
      description_.emplace(query);
    }
  }

  bool Matches(const Fields& f) {
    if (!description_ || !f.hasTail) {
      // An ASCII word folds to itself.
      if (!HasLeadByte(f.word)) return Contains(f.word, query_);
      FoldInitialsInto(f.word, folded_);
      return Contains(folded_, query_);
    }
    // The tail starts at a space, so its pairs line up as they do in the
    // whole record.
    return description_->In(f.tail, f.record.data());
  }

 private:
  std::string_view query_;
  std::optional<FoldedMatch> description_;
  std::string folded_;
};

void AppendResultLine(std::string& result, const Fields& f) {
  result.append(f.word);
  if (f.word.size() < kMnemonicColumn) result.append(kMnemonicColumn - f.word.size(), ' ');
  if (f.hasTail) {
    AppendWithoutSpaces(result, f.tail);
  } else {
    result.append(f.word);
  }
  result.append("\r\n");
}

}  // namespace

std::string SearchCatalogue(const std::vector<std::string>& records, std::string_view query,
                            int fieldNumber, EventPump& pump) {
  std::string result;
  // Both fields are free of spaces, so such a query matches nothing; the
  // pass still runs, for the events it lets through.
  const bool hopeless = query.empty() || query.find(' ') != std::string_view::npos;
  FieldMatcher matcher(query, fieldNumber);
  const std::size_t count = records.size();
  // Events may reload `records`: read by position, and stop at its end.
  for (std::size_t position = 0; position < count && position < records.size(); ++position) {
    // Records lie in memory in order; asking early for one a few ahead hides
    // the miss on catalogues bigger than the cache.
    if (position + 8 < count && position + 8 < records.size()) {
      __builtin_prefetch(records[position + 8].data());
    }
    const Fields fields = SplitFields(records[position]);
    if (!hopeless && matcher.Matches(fields)) AppendResultLine(result, fields);
    pump.ProcessPendingEvents();
  }
  return result;
}

}  // namespace quenstrel
