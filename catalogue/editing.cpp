#include "catalogue/editing.h"

#include <optional>
#include <utility>
#include <vector>

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

// Positions to remove from `records`, added from the last to the first.
class RemovalQueue {
 public:
  explicit RemovalQueue(std::vector<std::string>& records) : records_(records) {}
  void Add(std::size_t position) { positions_.push_back(position); }
  bool Empty() const { return positions_.empty(); }
  // Removes them all, moving each record behind them once.
  void Apply() {
    if (positions_.empty()) return;
    std::size_t to = positions_.back();
    std::size_t next = positions_.size() - 1;  // index of the next removal, ascending
    for (std::size_t from = to; from < records_.size(); ++from) {
      if (next != kNone && from == positions_[next]) {
        next = next == 0 ? kNone : next - 1;
        continue;
      }
      if (to != from) records_[to] = std::move(records_[from]);
      ++to;
    }
    records_.resize(to);
    positions_.clear();
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::string>& records_;
  std::vector<std::size_t> positions_;  // descending
};

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
  // Removing a record moves every record behind it, so removals wait until
  // an event could see the catalogue: one move per waiting event instead of
  // one per removed record. An event still sees the list reduced by every
  // record removed so far.
  RemovalQueue removals(records);
  // From the last position to the first: ascending order. A removal moves
  // only records already visited.
  for (std::size_t k = records.size(); k > 0; --k) {
    const std::size_t position = k - 1;
    // The stored mnemonic, as Modify compares it: a folded one would never
    // match a mnemonic that holds a Chinese character.
    if (CompareText(TakeField(records[position], " ", 1), selectedMnemonic) == 0) {
      removals.Add(position);
    } else {
      AppendFileLine(fileText, records[position]);
    }
    if (removals.Empty()) {
      ctx.pump.ProcessPendingEvents();
    } else if (ctx.pump.EventsWaiting()) {
      removals.Apply();
      ctx.pump.ProcessPendingEvents();
    }
  }
  removals.Apply();
  return WriteAndReload(ctx, fileText);
}

}  // namespace quenstrel
