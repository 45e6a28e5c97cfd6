#include "catalogue/catalogue.h"

#include <optional>
#include <string_view>

#include "catalogue/record.h"
#include "resources/resources.h"
#include "search/text.h"

namespace quenstrel {
namespace {

// A failed write is tried again this often; each attempt already retries a
// briefly held file, so the bound keeps a read-only directory from hanging
// the window.
constexpr int kWriteAttempts = 3;

}  // namespace

std::string CatalogueFilePath(FileSystem& fs) { return fs.RunDirectory() + "\\汇编指令集.txt"; }

std::string CountText(int count) { return "共有：" + std::to_string(count) + "条汇编指令！"; }

void LoadCatalogue(Catalogue& catalogue, FileSystem& fs, CatalogueView& view) {
  catalogue.records.clear();
  catalogue.listedCount = 0;
  catalogue.fileUnreadable = false;

  const std::string path = CatalogueFilePath(fs);
  std::vector<std::string> pieces;
  if (fs.Exists(path)) {
    const std::optional<std::string> bytes = fs.ReadWholeFile(path);
    catalogue.fileUnreadable = !bytes.has_value();
    if (bytes) pieces = CutLines(TextUpToNul(*bytes));
  } else {
    pieces = CutLines(BuiltInCatalogue());
  }

  // The sort runs over every piece before any is filtered.
  SortTexts(pieces);
  for (std::string& piece : pieces) {
    if (!IsRecordLine(piece)) continue;
    view.AddListItem(TakeField(piece, " ", 1));
    // A fresh copy, not the moved piece: records then lie in memory in
    // their sorted order, which every search walks.
    catalogue.records.emplace_back(piece);
    ++catalogue.listedCount;
  }

  if (!fs.Exists(path)) WriteCatalogue(catalogue, fs);
  view.SetCountCaption(CountText(catalogue.listedCount));
}

bool WriteCatalogue(const Catalogue& catalogue, FileSystem& fs) {
  std::string text;
  for (const std::string& record : catalogue.records) AppendFileLine(text, record);
  const std::string path = CatalogueFilePath(fs);
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
    if (fs.ReplaceWholeFile(path, text)) return true;
  }
  return false;
}

}  // namespace quenstrel
