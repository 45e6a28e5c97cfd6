#pragma once
// The catalogue in memory, and loading it from the catalogue file.
#include <string>
#include <vector>

#include "catalogue/platform.h"

namespace quenstrel {

struct Catalogue {
  // The records in ascending byte order after a load.
  std::vector<std::string> records;
  // Records listed by the last load.
  int listedCount = 0;
  // The file existed at the last load but could not be read. Its bytes are
  // unknown, so nothing may overwrite it.
  bool fileUnreadable = false;
};

// The run directory followed by "\汇编指令集.txt".
std::string CatalogueFilePath(FileSystem& fs);

// "共有：<n>条汇编指令！"
std::string CountText(int count);

// Replaces `catalogue` from the file, or from the built-in text when the file
// is missing (and then creates the file). Adds one list item per record
// without clearing the list first, and sets the count caption.
void LoadCatalogue(Catalogue& catalogue, FileSystem& fs, CatalogueView& view);

// Writes the records in their order, each ended by CR LF; a few attempts,
// then gives up. True when the file holds the new text.
bool WriteCatalogue(const Catalogue& catalogue, FileSystem& fs);

}  // namespace quenstrel
