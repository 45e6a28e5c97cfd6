#pragma once
// The three commands that change the catalogue. Each builds the whole new
// file text, replaces the file in one step, clears the list and reloads, and
// returns whether the write succeeded. Waiting events run once per record.
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/platform.h"
#include "search/event_pump.h"

namespace quenstrel {

struct EditingContext {
  Catalogue& catalogue;
  FileSystem& fs;
  EditorView& view;
  EventPump& pump;
};

// Adds the record typed into the description box, its mnemonic upper-cased.
bool AddInstruction(EditingContext ctx);

// Gives every record of `selectedMnemonic` the description box's text after
// its first word.
bool ModifyInstruction(EditingContext ctx, const std::string& selectedMnemonic);

// Removes every record of `selectedMnemonic`.
bool DeleteInstruction(EditingContext ctx, const std::string& selectedMnemonic);

}  // namespace quenstrel
