#pragma once
#include <optional>
#include <string>
#include <vector>

#include "catalogue/platform.h"

namespace quenstrel {

class FakeCatalogueView : public EditorView {
 public:
  std::vector<std::string> items;
  std::string countCaption;
  std::string descriptionText;
  bool descriptionEncodable = true;

  void ClearList() override { items.clear(); }
  void AddListItem(const std::string& text) override { items.push_back(text); }
  void SetCountCaption(const std::string& text) override { countCaption = text; }
  std::optional<std::string> DescriptionText() override {
    if (!descriptionEncodable) return std::nullopt;
    return descriptionText;
  }
};

}  // namespace quenstrel
