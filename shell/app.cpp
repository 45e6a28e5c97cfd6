#include "shell/app.h"

#include "catalogue/editing.h"
#include "catalogue/gbk_texts.h"
#include "resources/resources.h"
#include "search/catalogue_search.h"
#include "search/initials.h"
#include "search/text.h"

namespace quenstrel {
namespace {
constexpr int kEnterKey = 13;
}

void App::OnWindowCreated() {
  LoadCatalogue(catalogue_, fs_, window_);
  if (attachSkin) attachSkin();
  window_.FocusQuery();
}

void App::OnQueryTextChanged() {
  window_.SetDescriptionText("");
  const std::string query = UpperCaseText(window_.QueryText());
  // A change handled inside this search empties the box and appends its own
  // result; ours follows it when the search resumes.
  window_.AppendDescriptionText(SearchCatalogue(catalogue_.records, query, 1, window_));
}

void App::OnQueryKeyDown(int keyCode) {
  if (keyCode != kEnterKey) return;
  const std::string query = FoldInitials(window_.QueryText());
  window_.SetDescriptionText(SearchCatalogue(catalogue_.records, query, 2, window_));
}

void App::OnListItemSelected() {
  const std::string mnemonic = SelectedMnemonic();
  window_.SetDescriptionText(SearchCatalogue(catalogue_.records, mnemonic, 1, window_));
}

void App::OnAddClicked() {
  RunCommand([this] { return AddInstruction(Context()); }, gbk::kAddSucceeded);
}

void App::OnModifyClicked() {
  const std::string mnemonic = SelectedMnemonic();
  RunCommand([&] { return ModifyInstruction(Context(), mnemonic); }, gbk::kModifySucceeded);
}

void App::OnDeleteClicked() {
  const std::string mnemonic = SelectedMnemonic();
  RunCommand([&] { return DeleteInstruction(Context(), mnemonic); }, gbk::kDeleteSucceeded);
}

void App::RunCommand(const std::function<bool()>& command, const char* successMessage) {
  // A click handled inside a running command's pass would rewrite and reload
  // the catalogue under it; such clicks are ignored.
  if (commandRunning_) return;
  commandRunning_ = true;
  const bool written = command();
  commandRunning_ = false;
  if (written) window_.SetDescriptionText(successMessage);
}

EditingContext App::Context() { return {catalogue_, fs_, window_, window_}; }

// Shown first, the picture set second: both before the panel next paints,
// so only the new picture is ever seen.
void App::OnFormatLabelPressed() {
  window_.ShowPicturePanel();
  window_.SetPanelPicture(FormatPicture());
}

void App::OnDeleteLabelPressed() {
  window_.ShowPicturePanel();
  window_.SetPanelPicture(DeletePicture());
}

// The picture stays set; the next label press replaces it.
void App::OnPicturePanelPressed() { window_.HidePicturePanel(); }

std::string App::SelectedMnemonic() { return window_.ListItemText(window_.SelectedListIndex()); }

}  // namespace quenstrel
