#pragma once
// An in-memory main window. Events that a test queues run, in order, when the
// code under test calls ProcessPendingEvents, the way a real window's waiting
// messages would; a queued quit stops the dispatch and stays queued.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/main_window.h"

namespace quenstrel {

class FakeWindow : public MainWindow {
 public:
  // Controls' state.
  std::string queryText;
  bool queryFocused = false;
  std::string descriptionText;
  bool descriptionEncodable = true;
  bool descriptionShowsEnd = false;  // the last write scrolled to the end
  std::vector<std::string> items;
  int selectedIndex = -1;
  std::string countCaption;
  bool panelVisible = false;
  std::string panelPicture;

  // Events; an empty slot is a request to quit.
  std::deque<std::function<void()>> pending;
  bool quit = false;  // the message loop took the quit request
  int pumpCalls = 0;

  void Queue(std::function<void()> event) { pending.push_back(std::move(event)); }
  void QueueQuit() { pending.push_back(nullptr); }

  void ProcessPendingEvents() override {
    ++pumpCalls;
    while (!pending.empty() && pending.front()) {
      std::function<void()> event = std::move(pending.front());
      pending.pop_front();
      event();
    }
  }

  // Runs what is queued until the quit request, as the message loop would.
  void RunMessageLoop() {
    while (!pending.empty()) {
      if (!pending.front()) {
        pending.pop_front();
        quit = true;
        return;
      }
      ProcessPendingEvents();
    }
  }

  std::string QueryText() override { return queryText; }
  void FocusQuery() override { queryFocused = true; }
  std::optional<std::string> DescriptionText() override {
    if (!descriptionEncodable) return std::nullopt;
    return descriptionText;
  }
  void SetDescriptionText(const std::string& text) override {
    descriptionText = text;
    descriptionShowsEnd = false;
  }
  void AppendDescriptionText(const std::string& text) override {
    descriptionText += text;
    descriptionShowsEnd = true;
  }
  int SelectedListIndex() override { return selectedIndex; }
  std::string ListItemText(int index) override {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return items[static_cast<std::size_t>(index)];
  }
  void ShowPicturePanel() override { panelVisible = true; }
  void HidePicturePanel() override { panelVisible = false; }
  void SetPanelPicture(std::string_view pngBytes) override { panelPicture = std::string(pngBytes); }

  void ClearList() override {
    items.clear();
    selectedIndex = -1;
  }
  void AddListItem(const std::string& text) override { items.push_back(text); }
  void SetCountCaption(const std::string& text) override { countCaption = text; }
};

}  // namespace quenstrel
