#include "catalogue/record.h"

#include <cstddef>

#include "search/text.h"

namespace quenstrel {

std::string TakeField(std::string_view text, std::string_view delimiter, int fieldNumber) {
  // Without a separator byte nothing splits, and the text is one word.
  const int separator = delimiter.empty() ? -1 : static_cast<unsigned char>(delimiter.front());
  auto isSeparator = [separator](char c) { return static_cast<unsigned char>(c) == separator; };
  std::string out;
  int wordEnds = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isSeparator(text[i])) continue;
    out.push_back(text[i]);
    if (i + 1 == text.size() || !isSeparator(text[i + 1])) continue;
    if (++wordEnds > 1) continue;
    if (fieldNumber == 1) return out;
    out.clear();
  }
  return out;
}

std::string_view TextUpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::vector<std::string> CutLines(std::string_view text) {
  const std::vector<std::string_view> views = CutLineViews(text);
  return {views.begin(), views.end()};
}

std::vector<std::string_view> CutLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsLeadByte(text[i])) {
      i += 2;
    } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += 2;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool IsRecordLine(std::string_view line) {
  return !RemoveBlanks(line).empty() && line.front() != ' ';
}

std::string ComposeRecord(std::string_view mnemonic, std::string_view description) {
  std::string record;
  record.reserve(mnemonic.size() + 3 + description.size());
  record.append(mnemonic).append("   ").append(description);
  return record;
}

bool EndsInHalfCharacter(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) i += IsLeadByte(text[i]) ? 2 : 1;
  return i > text.size();
}

void AppendFileLine(std::string& fileText, std::string_view record) {
  if (EndsInHalfCharacter(record)) record.remove_suffix(1);
  fileText.append(record).append("\r\n");
}

}  // namespace quenstrel
