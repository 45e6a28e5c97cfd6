#include "shell/app.h"

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

// The editing commands and the help pictures attach here.
void App::OnAddClicked() {}
void App::OnModifyClicked() {}
void App::OnDeleteClicked() {}
void App::OnFormatLabelPressed() {}
void App::OnDeleteLabelPressed() {}
void App::OnPicturePanelPressed() {}

std::string App::SelectedMnemonic() { return window_.ListItemText(window_.SelectedListIndex()); }

}  // namespace quenstrel
