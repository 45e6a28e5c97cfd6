#pragma once
// A record is one catalogue line without its CR LF: a mnemonic, spaces, and a
// description. This is the one place that knows how lines and fields are cut.
#include <string>
#include <string_view>
#include <vector>

namespace quenstrel {

// Byte-wise. Field 1 is the first run of bytes that are not the separator
// (the first byte of `delimiter`); any other field number gives every
// non-separator byte after that run. A GBK pair never holds 0x20, so cutting
// at spaces never splits a character.
std::string TakeField(std::string_view text, std::string_view delimiter, int fieldNumber);

// The bytes up to the first NUL: what a reader takes from a file.
std::string_view TextUpToNul(std::string_view bytes);

// Cuts at every CR LF, stepping over double-byte characters whole. Empty
// pieces between line ends stay; nothing follows a final CR LF.
std::vector<std::string> CutLines(std::string_view text);
// The same pieces as views into `text`.
std::vector<std::string_view> CutLineViews(std::string_view text);

// Whether a line is read as a record: it holds something besides ASCII and
// full-width spaces, and its first byte is not an ASCII space.
bool IsRecordLine(std::string_view line);

// The form of every record the program composes itself.
std::string ComposeRecord(std::string_view mnemonic, std::string_view description);

// A lead byte at the very end of a text, with no byte left to pair with.
// Written before a line end it would take the CR as its trail byte, so the
// line would run on into the next record.
bool EndsInHalfCharacter(std::string_view text);

// The one writer format: each record followed by CR LF, nothing else. A half
// character at the end of a record is left out, so that the line ends where
// the record does.
void AppendFileLine(std::string& fileText, std::string_view record);

}  // namespace quenstrel
