#include "search/catalogue_search.h"

#include "catalogue/record.h"
#include "search/initials.h"
#include "search/text.h"

namespace quenstrel {

std::string SearchCatalogue(const std::vector<std::string>& records, std::string_view query,
                            int fieldNumber, EventPump& pump) {
  std::string result;
  const std::size_t count = records.size();
  for (std::size_t position = 0; position < count && position < records.size(); ++position) {
    const std::string& record = records[position];
    const std::string folded = FoldInitials(record);
    if (FindText(TakeField(folded, " ", fieldNumber), query, 0) != -1) {
      result += PadRight(TakeField(record, " ", 1), " ", 15);
      result += TakeField(record, " ", 2);
      result += "\r\n";
    }
    pump.ProcessPendingEvents();
  }
  return result;
}

}  // namespace quenstrel
