#pragma once
// The real main window: the frame, its sixteen controls under their own
// names, and the operations the handlers call on them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shell/main_window.h"
#include "shell/win32/controls_win.h"

namespace quenstrel {

class Win32MainWindow final : public Control, public MainWindow {
 public:
  // Creates the window and its controls, raises onCreated, then shows it.
  bool Create(int showCommand);
  // Esc and the close box come here. While a handler runs (Esc in the middle
  // of a search) the window only hides, and is destroyed once the handler
  // has returned, so that no control is destroyed under its own notification.
  void Close();

  std::function<void()> onCreated;

  GroupBox 分组框1;
  ListBox 列表框1;
  GroupBox 分组框2;
  Label 标签1;
  SingleLineEdit 编辑框_查询;
  Label 标签2;
  GroupBox 分组框3;
  PicturePanel 画板1;
  MultiLineEdit 编辑框_功能;
  GroupBox 分组框4;
  Label 标签_指令个数;
  Button 按钮_添加;
  TransparentLabel 透明标签1;
  Button 按钮_修改;
  TransparentLabel 透明标签2;
  Button 按钮_删除;

  // CatalogueView, EventPump, MainWindow
  void ClearList() override;
  void AddListItem(const std::string& text) override;
  void SetCountCaption(const std::string& text) override;
  void ProcessPendingEvents() override;
  bool EventsWaiting() override;
  std::string QueryText() override;
  void FocusQuery() override;
  std::optional<std::string> DescriptionText() override;
  void SetDescriptionText(const std::string& text) override;
  void AppendDescriptionText(const std::string& text) override;
  int SelectedListIndex() override;
  std::string ListItemText(int index) override;
  void ShowPicturePanel() override;
  void HidePicturePanel() override;
  void SetPanelPicture(std::string_view pngBytes) override;

  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;

 private:
  bool CreateControls();  // main_window_layout_win.cpp
  std::intptr_t OnActivate(const ControlMessage& message);

  WindowHandle focus_ = nullptr;  // given back when the window is activated again
  bool closing_ = false;
  bool lookedWaiting_ = false;  // EventsWaiting found a message for the next pump
};

}  // namespace quenstrel
