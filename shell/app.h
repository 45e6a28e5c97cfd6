#pragma once
// The program's switchboard: each window event runs one operation of the
// core and puts its result into a control.
#include <functional>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/editing.h"
#include "catalogue/platform.h"
#include "shell/main_window.h"

namespace quenstrel {

class App {
 public:
  App(MainWindow& window, FileSystem& fs) : window_(window), fs_(fs) {}

  // Runs inside window creation, after the skin was looked for: loads the
  // catalogue, attaches the skin, and puts the focus into the query box.
  void OnWindowCreated();
  void OnQueryTextChanged();
  void OnQueryKeyDown(int keyCode);
  void OnListItemSelected();
  void OnAddClicked();
  void OnModifyClicked();
  void OnDeleteClicked();
  void OnFormatLabelPressed();
  void OnDeleteLabelPressed();
  void OnPicturePanelPressed();

  // The second skin step, run by OnWindowCreated after the load.
  std::function<void()> attachSkin;

  const Catalogue& catalogue() const { return catalogue_; }

 private:
  std::string SelectedMnemonic();
  void RunCommand(const std::function<bool()>& command, const char* successMessage);
  EditingContext Context();

  MainWindow& window_;
  FileSystem& fs_;
  Catalogue catalogue_;
  bool commandRunning_ = false;
};

}  // namespace quenstrel
