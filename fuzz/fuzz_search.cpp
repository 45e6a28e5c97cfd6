// SearchCatalogue over any records and query against the search done step
// by step, with events that shrink, replace, grow or search the catalogue in
// the middle of the pass.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/record.h"
#include "fuzz/check.h"
#include "search/catalogue_search.h"
#include "tests/support/reference.h"

using namespace quenstrel;
using Texts = std::vector<std::string>;

namespace {

using Search = std::function<std::string(const Texts&, std::string_view, int, EventPump&)>;

// At one call, does one thing to the catalogue, as a handler run from the
// pump would.
struct Script {
  int action = 0;
  int atCall = 0;
  int amount = 0;
};

struct ScriptedEvents : EventPump {
  Texts& records;
  Script script;
  Search search;
  int calls = 0;
  std::string nested;

  ScriptedEvents(Texts& r, Script s, Search f) : records(r), script(s), search(std::move(f)) {}

  void ProcessPendingEvents() override {
    if (++calls != script.atCall) return;
    const std::size_t keep = records.size() * static_cast<std::size_t>(script.amount) / 255;
    switch (script.action) {
      case 1:  // a reload with fewer records
        records.resize(keep);
        break;
      case 2: {  // a reload with others, into new memory
        Texts other(records.rbegin(), records.rend());
        other.resize(keep);
        for (std::string& r : other) r += "X";
        records = std::move(other);
        break;
      }
      case 3:  // a reload with more
        for (std::size_t k = 0; k < keep + 1; ++k) records.push_back("GROWN  x");
        records.shrink_to_fit();
        break;
      case 4: {  // a nested search, with its own events
        reference::NoEvents none;
        nested = search(records, "A", 1, none);
        break;
      }
      default:
        break;
    }
  }
};

std::string Run(const Texts& start, std::string_view query, int field, Script script,
                const Search& search, std::string& nested, int& calls) {
  Texts records = start;
  ScriptedEvents events(records, script, search);
  std::string result = search(records, query, field, events);
  nested = events.nested;
  calls = events.calls;
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int fields[] = {1, 2, 0, -1};
  const int field = fields[data[0] % 4];
  Script script{data[1] % 5, data[1] / 5 % 16, data[2]};
  const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  // The query is the first line, the records are the rest cut at CR LF,
  // not filtered: the search must take any texts.
  const std::size_t newline = rest.find('\n');
  const std::string_view query = rest.substr(0, newline);
  const Texts records =
      newline == std::string_view::npos ? Texts() : CutLines(rest.substr(newline + 1));

  const Search fast = [](const Texts& r, std::string_view q, int f, EventPump& p) {
    return SearchCatalogue(r, q, f, p);
  };
  const Search plain = [](const Texts& r, std::string_view q, int f, EventPump& p) {
    return reference::Search(r, q, f, p);
  };
  std::string fastNested, plainNested;
  int fastCalls = 0, plainCalls = 0;
  const std::string got = Run(records, query, field, script, fast, fastNested, fastCalls);
  const std::string want = Run(records, query, field, script, plain, plainNested, plainCalls);
  FUZZ_CHECK(got == want);
  FUZZ_CHECK(fastNested == plainNested);
  FUZZ_CHECK(fastCalls == plainCalls);
  return 0;
}
