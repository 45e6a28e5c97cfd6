// The three editing commands on a catalogue file of any bytes, with any box
// text and selection, writes that fail, and a box edited during the pass.
// Each file is held against the one composed step by step, and the reload
// must keep every record the command did not select.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/editing.h"
#include "catalogue/gbk_texts.h"
#include "catalogue/record.h"
#include "fuzz/check.h"
#include "search/text.h"
#include "tests/fakes/fake_catalogue_view.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/scripted_pump.h"
#include "tests/support/reference.h"

using namespace quenstrel;
using Texts = std::vector<std::string>;

namespace {

// Takes the bytes up to the next NUL (a control's text never holds one).
std::string_view TakeUpToNul(std::string_view& rest) {
  const std::size_t nul = std::min(rest.find('\0'), rest.size());
  const std::string_view piece = rest.substr(0, nul);
  rest.remove_prefix(std::min(nul + 1, rest.size()));
  return piece;
}

std::string Mnemonic(const std::string& record) { return TakeField(record, " ", 1); }

// Each text of `part` is also in `whole`, as often at least.
bool Contains(Texts whole, Texts part) {
  std::sort(whole.begin(), whole.end());
  std::sort(part.begin(), part.end());
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

struct Input {
  int command = 0;
  bool failWrite = false;
  std::string box;
  std::string selected;
  int boxEditAtCall = 0;
};

// The file text the command composes, or false when it writes nothing.
bool Compose(const Input& in, const Texts& records, std::string& file) {
  Texts lines;
  if (in.command == 0) {
    const std::string record =
        ComposeRecord(UpperCaseText(TakeField(in.box, " ", 1)), TakeField(in.box, " ", 2));
    if (!reference::IsRecord(record)) return false;
    lines = records;
    lines.push_back(record);
  } else if (in.selected.empty()) {
    return false;
  } else if (in.command == 1) {
    std::string box = in.box;
    int call = 0;
    for (auto r = records.rbegin(); r != records.rend(); ++r) {
      lines.push_back(Mnemonic(*r) == in.selected
                          ? ComposeRecord(in.selected, TakeField(RemoveLineEnds(box), " ", 2))
                          : *r);
      if (++call == in.boxEditAtCall) box += " EDITED";
    }
  } else {
    for (const std::string& r : records) {
      if (Mnemonic(r) != in.selected) lines.push_back(r);
    }
  }
  file = reference::FileText(lines);
  return true;
}

void CheckLoaded(const Catalogue& catalogue, const FakeCatalogueView& view,
                 const std::string& file) {
  FUZZ_CHECK(catalogue.records == reference::Load(file));
  FUZZ_CHECK(view.items.size() == catalogue.records.size());
  for (std::size_t k = 0; k < view.items.size(); ++k) {
    FUZZ_CHECK(view.items[k] == Mnemonic(catalogue.records[k]));
  }
  FUZZ_CHECK(view.countCaption ==
             gbk::kCountBefore + std::to_string(catalogue.records.size()) + gbk::kCountAfter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  Input in;
  in.command = data[0] % 3;
  in.failWrite = data[0] / 3 % 2 == 1;
  const int selection = data[0] / 6 % 3;
  in.boxEditAtCall = data[2];
  std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  in.box = TakeUpToNul(rest);
  const std::string_view typedSelection = TakeUpToNul(rest);
  const std::string original(rest);

  FakeFileSystem fs;
  const std::string path = CatalogueFilePath(fs);
  fs.files[path] = original;
  FakeCatalogueView view;
  Catalogue catalogue;
  LoadCatalogue(catalogue, fs, view);
  const Texts before = catalogue.records;
  const Texts itemsBefore = view.items;
  if (selection == 0 && !view.items.empty()) in.selected = view.items[data[1] % view.items.size()];
  if (selection == 1) in.selected = typedSelection;

  std::string expected;
  const bool writes = Compose(in, before, expected);

  view.descriptionText = in.box;
  ScriptedPump pump;
  // Delete removes lazily: an event must still see, at every point, the
  // descending list with each matching record visited so far removed. Each
  // visit either pumps or, with removals pending, asks whether events wait.
  Texts descending = before;
  std::sort(descending.rbegin(), descending.rend());
  bool sawEagerState = true;
  int asks = 0;
  int callsUnasked = 0;
  bool askedYes = false;
  pump.waiting = [&](int) {
    askedYes = ((data[1] >> (asks++ % 8)) & 1) != 0;  // data[1]'s bits say when
    return askedYes;
  };
  pump.onCall = [&](int call) {
    if (call == in.boxEditAtCall) view.descriptionText += " EDITED";
    if (!askedYes) ++callsUnasked;
    askedYes = false;
    if (in.command != 2) return;
    const std::size_t visited = static_cast<std::size_t>(asks + callsUnasked);
    const std::size_t unvisited = descending.size() - visited;
    Texts eager(descending.begin(), descending.begin() + static_cast<std::ptrdiff_t>(unvisited));
    for (std::size_t i = unvisited; i < descending.size(); ++i) {
      if (Mnemonic(descending[i]) != in.selected) eager.push_back(descending[i]);
    }
    sawEagerState = sawEagerState && eager == catalogue.records;
  };
  fs.failingWrites = in.failWrite ? 1 : 0;
  EditingContext ctx{catalogue, fs, view, pump};
  const bool ok = in.command == 0   ? AddInstruction(ctx)
                  : in.command == 1 ? ModifyInstruction(ctx, in.selected)
                                    : DeleteInstruction(ctx, in.selected);

  FUZZ_CHECK(sawEagerState);
  FUZZ_CHECK(ok == (writes && !in.failWrite));
  FUZZ_CHECK(fs.writeCalls == (writes ? 1 : 0));
  if (!ok) {
    // Nothing written: the file to the byte, and the state it loads.
    FUZZ_CHECK(fs.files[path] == original);
    FUZZ_CHECK(catalogue.records == before);
    FUZZ_CHECK(view.items == itemsBefore);
    return 0;
  }
  const std::string& file = fs.files[path];
  FUZZ_CHECK(file == expected);
  CheckLoaded(catalogue, view, file);

  // Records the command did not select are all still there, unchanged.
  Texts untouched;
  for (const std::string& r : before) {
    if (in.command == 0 || Mnemonic(r) != in.selected) untouched.push_back(r);
  }
  FUZZ_CHECK(Contains(catalogue.records, untouched));
  if (in.command == 2) {
    const Texts lines = reference::Cut(file);
    FUZZ_CHECK(std::is_sorted(lines.begin(), lines.end()));
    for (const std::string& r : catalogue.records) FUZZ_CHECK(Mnemonic(r) != in.selected);
  }
  return 0;
}
