#pragma once
// Data files compiled into the program (see resources/README.md).
#include <string_view>

namespace quenstrel {

// The catalogue a first run writes out: GBK records, each ended by CR LF.
std::string_view BuiltInCatalogue();

// 256000 bytes: the pinyin initial of the GBK pair (lead, trail) is the byte
// at lead * 1000 + trail, a space where the pair has none.
std::string_view InitialsTable();

// 20275 bytes: the skin file handed to the skin library (skin/README.md).
std::string_view SkinResource();

// PNG files of the help pictures: the record format (324 x 128) and how to
// delete (101 x 193), drawn by tools/make_pictures.py.
std::string_view FormatPicture();
std::string_view DeletePicture();

}  // namespace quenstrel
