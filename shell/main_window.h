#pragma once
// What the handlers need from the main window, in the program's GBK texts.
// The real window is in shell/win32/; tests use tests/fakes/fake_window.h.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/platform.h"
#include "search/event_pump.h"

namespace quenstrel {

class MainWindow : public EditorView, public EventPump {
 public:
  // 编辑框_查询
  virtual std::string QueryText() = 0;
  virtual void FocusQuery() = 0;

  // 编辑框_功能 (reading it is EditorView::DescriptionText). Replaces the whole text; the box shows it from its start.
  virtual void SetDescriptionText(const std::string& text) = 0;
  // Inserts at the end; the box ends scrolled to its last line.
  virtual void AppendDescriptionText(const std::string& text) = 0;

  // 列表框1: the selected position from 0, or -1; an item's text, empty
  // outside the list.
  virtual int SelectedListIndex() = 0;
  virtual std::string ListItemText(int index) = 0;

  // 画板1: the bytes of a PNG file drawn from its top-left corner.
  virtual void ShowPicturePanel() = 0;
  virtual void HidePicturePanel() = 0;
  virtual void SetPanelPicture(std::string_view pngBytes) = 0;
};

}  // namespace quenstrel
