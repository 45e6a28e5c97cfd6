#include "shell/app.h"

#include "catalogue/editing.h"
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
  RunCommand([this] { return AddInstruction(Context()); }, "亲：添加汇编指令成功！");
}

void App::OnModifyClicked() {
  const std::string mnemonic = SelectedMnemonic();
  RunCommand([&] { return ModifyInstruction(Context(), mnemonic); }, "亲：修改注解成功！");
}

void App::OnDeleteClicked() {
  const std::string mnemonic = SelectedMnemonic();
  RunCommand([&] { return DeleteInstruction(Context(), mnemonic); }, "亲：删除汇编指令成功！");
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

// The help pictures attach here.
void App::OnFormatLabelPressed() {}
void App::OnDeleteLabelPressed() {}
void App::OnPicturePanelPressed() {}

std::string App::SelectedMnemonic() { return window_.ListItemText(window_.SelectedListIndex()); }

}  // namespace quenstrel
