#include "tests/e2e/oracle.h"

#include <algorithm>
#include <utility>

#include "resources/resources.h"

namespace quenstrel::e2e {

std::vector<Record> SortedBuiltInRecords() {
  std::vector<std::string> lines;
  const std::string_view text = BuiltInCatalogue();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) break;
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return RecordsOf(std::move(lines));
}

std::vector<Record> RecordsOf(std::vector<std::string> lines) {
  // std::string compares its bytes as unsigned values.
  std::sort(lines.begin(), lines.end());
  std::vector<Record> records;
  for (const std::string& line : lines) {
    const std::size_t space = std::min(line.find(' '), line.size());
    std::string description;
    for (char c : line.substr(space)) {
      if (c != ' ') description += c;
    }
    records.push_back({line, line.substr(0, space), description});
  }
  return records;
}

std::string FirstRunFile() {
  std::string file;
  for (const Record& record : SortedBuiltInRecords()) file += record.line + "\r\n";
  return file;
}

std::string ResultLine(const Record& record) {
  std::string line = record.mnemonic;
  if (line.size() < 15) line.resize(15, ' ');
  return line + record.description + "\r\n";
}

std::string MnemonicResult(std::string_view needle) {
  std::string result;
  for (const Record& record : SortedBuiltInRecords()) {
    if (record.mnemonic.find(needle) != std::string::npos) result += ResultLine(record);
  }
  return result;
}

std::string ResultFor(const std::vector<std::string>& mnemonics) {
  std::string result;
  for (const Record& record : SortedBuiltInRecords()) {
    if (std::find(mnemonics.begin(), mnemonics.end(), record.mnemonic) != mnemonics.end()) {
      result += ResultLine(record);
    }
  }
  return result;
}

}  // namespace quenstrel::e2e
