// The settings kept in memory instead of the settings file: what a window
// saved is in `text`, exactly as the file would hold it.
#pragma once

#include <string>

#include "gui/placement.h"

namespace vorlo::testing {

class MemoryPlacements final : public PlacementStore {
 public:
  MemoryPlacements() = default;
  explicit MemoryPlacements(std::string initial) : text(std::move(initial)) {}

  IniDocument Doc() const { return IniDocument::Parse(text); }
  bool Has(std::string_view windowName) const { return Doc().HasSection(PlacementSection(windowName)); }

  std::string text;
  int saves = 0;

 protected:
  Loaded Load() const override { return {IniDocument::Parse(text), 0}; }
  int Save(const IniDocument& doc) override {
    text = doc.Text();
    ++saves;
    return 0;
  }
};

}  // namespace vorlo::testing
