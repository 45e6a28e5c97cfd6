#pragma once
// What the window should show, worked out from the built-in catalogue text
// on its own, without the program's code.
#include <string>
#include <string_view>
#include <vector>

namespace quenstrel::e2e {

struct Record {
  std::string line;         // as stored
  std::string mnemonic;     // up to the first space
  std::string description;  // every byte after it that is not a space
};

// The built-in records in ascending byte order, as a first run loads them.
std::vector<Record> SortedBuiltInRecords();

// Stored lines as records, in ascending byte order.
std::vector<Record> RecordsOf(std::vector<std::string> lines);

// The catalogue file a first run writes: every sorted record and CR LF.
std::string FirstRunFile();

// A result line: the mnemonic padded to 15 bytes, the description, CR LF.
std::string ResultLine(const Record& record);

// The lines of every record whose mnemonic contains `needle`.
std::string MnemonicResult(std::string_view needle);

// The lines of the records with these mnemonics, in catalogue order.
std::string ResultFor(const std::vector<std::string>& mnemonics);

}  // namespace quenstrel::e2e
