#include "catalogue/editing.h"

#include <optional>

#include "catalogue/record.h"
#include "search/text.h"

namespace quenstrel {
namespace {

// Writes the file text, clears the list and reloads, whatever the write gave.
bool WriteAndReload(EditingContext ctx, const std::string& fileText) {
  const bool written = ctx.fs.ReplaceWholeFile(CatalogueFilePath(ctx.fs), fileText);
  ctx.view.ClearList();
  LoadCatalogue(ctx.catalogue, ctx.fs, ctx.view);
  return written;
}

// A file that could not be read at the last load holds bytes we never saw:
// writing would destroy them. Load again instead; the user may retry.
bool RefuseUnreadFile(EditingContext ctx) {
  if (!ctx.catalogue.fileUnreadable) return false;
  ctx.view.ClearList();
  LoadCatalogue(ctx.catalogue, ctx.fs, ctx.view);
  return true;
}

}  // namespace

bool AddInstruction(EditingContext ctx) {
  if (RefuseUnreadFile(ctx)) return false;
  const std::optional<std::string> box = ctx.view.DescriptionText();
  if (!box) return false;
  const std::string record =
      ComposeRecord(UpperCaseText(TakeField(*box, " ", 1)), TakeField(*box, " ", 2));
  // A record the reload would skip adds nothing; saying it was added would lie.
  if (!IsRecordLine(record)) return false;

  std::vector<std::string>& records = ctx.catalogue.records;
  records.push_back(record);
  std::string fileText;
  for (std::size_t position = 0; position < records.size(); ++position) {
    AppendFileLine(fileText, records[position]);
    ctx.pump.ProcessPendingEvents();
  }
  return WriteAndReload(ctx, fileText);
}

bool ModifyInstruction(EditingContext ctx, const std::string& selectedMnemonic) {
  if (RefuseUnreadFile(ctx)) return false;
  // No selection matches no record; rewriting the file would change nothing.
  if (selectedMnemonic.empty()) return false;

  const std::vector<std::string>& records = ctx.catalogue.records;
  std::string fileText;
  for (std::size_t k = records.size(); k > 0; --k) {
    const std::string& record = records[k - 1];
    if (CompareText(TakeField(record, " ", 1), selectedMnemonic) == 0) {
      // The box is read at each match, so an edit made during the pass
      // reaches the records matched after it.
      const std::optional<std::string> box = ctx.view.DescriptionText();
      if (!box) return false;
      AppendFileLine(fileText,
                     ComposeRecord(selectedMnemonic, TakeField(RemoveLineEnds(*box), " ", 2)));
    } else {
      AppendFileLine(fileText, record);
    }
    ctx.pump.ProcessPendingEvents();
  }
  return WriteAndReload(ctx, fileText);
}

bool DeleteInstruction(EditingContext ctx, const std::string& selectedMnemonic) {
  if (RefuseUnreadFile(ctx)) return false;
  if (selectedMnemonic.empty()) return false;

  std::vector<std::string>& records = ctx.catalogue.records;
  SortTexts(records, false);
  std::string fileText;
  // From the last position to the first: ascending order. Removing a record
  // moves only those already visited.
  for (std::size_t k = records.size(); k > 0; --k) {
    const std::size_t position = k - 1;
    // The stored mnemonic, as Modify compares it: a folded one would never
    // match a mnemonic that holds a Chinese character.
    if (CompareText(TakeField(records[position], " ", 1), selectedMnemonic) == 0) {
      records.erase(records.begin() + static_cast<std::ptrdiff_t>(position));
    } else {
      AppendFileLine(fileText, records[position]);
    }
    ctx.pump.ProcessPendingEvents();
  }
  return WriteAndReload(ctx, fileText);
}

}  // namespace quenstrel
