#pragma once
#include <string>
#include <vector>

#include "catalogue/platform.h"

namespace quenstrel {

class FakeCatalogueView : public CatalogueView {
 public:
  std::vector<std::string> items;
  std::string countCaption;

  void ClearList() override { items.clear(); }
  void AddListItem(const std::string& text) override { items.push_back(text); }
  void SetCountCaption(const std::string& text) override { countCaption = text; }
};

}  // namespace quenstrel
