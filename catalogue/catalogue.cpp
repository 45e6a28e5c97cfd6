#include "catalogue/catalogue.h"

#include <optional>
#include <string_view>

#include "catalogue/gbk_texts.h"
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

std::string CatalogueFilePath(FileSystem& fs) {
  return fs.RunDirectory() + gbk::kCatalogueFileName;
}

std::string CountText(int count) {
  return gbk::kCountBefore + std::to_string(count) + gbk::kCountAfter;
}

void LoadCatalogue(Catalogue& catalogue, FileSystem& fs, CatalogueView& view) {
  catalogue.records.clear();
  catalogue.listedCount = 0;
  catalogue.fileUnreadable = false;

  const std::string path = CatalogueFilePath(fs);
  std::optional<std::string> bytes;
  std::string_view text = BuiltInCatalogue();
  if (fs.Exists(path)) {
    bytes = fs.ReadWholeFile(path);
    catalogue.fileUnreadable = !bytes.has_value();
    text = bytes ? TextUpToNul(*bytes) : std::string_view();
  }
  // Pieces are views into the text: sorting moves views, and each record is
  // made once, in sorted order, so records lie in memory in the order every
  // search walks.
  std::vector<std::string_view> pieces = CutLineViews(text);
  // Only the text after the last line end can end in a half character; the
  // record keeps what the writer would write back, so rewrites lose nothing.
  if (!pieces.empty() && EndsInHalfCharacter(pieces.back())) pieces.back().remove_suffix(1);

  // The sort runs over every piece before any is filtered.
  SortTexts(pieces);
  for (std::string_view piece : pieces) {
    if (!IsRecordLine(piece)) continue;
    view.AddListItem(TakeField(piece, " ", 1));
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
