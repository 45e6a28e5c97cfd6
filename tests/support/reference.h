#pragma once
// The core's rules written the plain way, one step after another, for tests
// and fuzz targets to hold the fast code against. ASCII only: the fuzz build
// compiles it without the GBK execution character set.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/record.h"
#include "search/event_pump.h"
#include "search/initials.h"
#include "search/text.h"

namespace quenstrel::reference {

using Texts = std::vector<std::string>;

inline bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Pieces between the CR LF pairs that start at character boundaries.
inline Texts Cut(std::string_view text) {
  Texts pieces;
  std::string piece;
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsLead(text[i]) && i + 1 < text.size()) {
      piece += text.substr(i, 2);
      i += 2;
    } else if (text.substr(i, 2) == "\r\n") {
      pieces.push_back(piece);
      piece.clear();
      i += 2;
    } else {
      piece += text[i++];
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

// Whether `text` holds CR LF at a character boundary.
inline bool HasLineEnd(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += IsLead(text[i]) ? 2 : 1) {
    if (text.substr(i, 2) == "\r\n") return true;
  }
  return false;
}

inline bool EndsInHalf(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) i += IsLead(text[i]) ? 2 : 1;
  return i > text.size();
}

inline bool IsRecord(std::string_view line) {
  if (line.empty() || line[0] == ' ') return false;
  for (std::size_t i = 0; i < line.size(); i += IsLead(line[i]) ? 2 : 1) {
    if (line[i] != ' ' && line.substr(i, 2) != "\xA1\xA1") return true;
  }
  return false;
}

// The records a load makes of a file's bytes.
inline Texts Load(std::string_view bytes) {
  Texts pieces = Cut(bytes.substr(0, bytes.find('\0')));
  if (!pieces.empty() && EndsInHalf(pieces.back())) pieces.back().pop_back();
  Texts records;
  for (const std::string& piece : pieces) {
    if (IsRecord(piece)) records.push_back(piece);
  }
  std::sort(records.begin(), records.end());
  return records;
}

// The file text a writer makes of records in the order given.
inline std::string FileText(const Texts& records) {
  std::string text;
  for (std::string record : records) {
    if (EndsInHalf(record)) record.pop_back();
    text += record + "\r\n";
  }
  return text;
}

struct NoEvents : EventPump {
  void ProcessPendingEvents() override {}
};

// The search exactly as its steps say, one allocation after another. The
// pump may change `records`: the pass goes on by position, up to the count
// taken at the start or the current end, whichever comes first.
inline std::string Search(const Texts& records, std::string_view query, int field,
                          EventPump& pump) {
  std::string result;
  const std::size_t count = records.size();
  for (std::size_t p = 0; p < count && p < records.size(); ++p) {
    const std::string record = records[p];
    if (FindText(TakeField(FoldInitials(record), " ", field), query, 0) != -1) {
      result += PadRight(TakeField(record, " ", 1), " ", 15) + TakeField(record, " ", 2) + "\r\n";
    }
    pump.ProcessPendingEvents();
  }
  return result;
}

inline std::string Search(const Texts& records, std::string_view query, int field) {
  NoEvents none;
  return Search(records, query, field, none);
}

}  // namespace quenstrel::reference
