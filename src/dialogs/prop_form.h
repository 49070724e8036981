// The properties window: the description of one junk type, read-only, with a
// "Done" button.
#pragma once

#include <QDialog>
#include <string>

#include "core/description.h"

class QTextEdit;

namespace vorlo {

class PlacementStore;

class TPropForm final : public QDialog {
  Q_OBJECT

 public:
  // `context` gives the local-drives text and date separator of the
  // description. Restores position and size from `placements`; saves them
  // there when closed.
  TPropForm(DescriptionContext context, PlacementStore& placements, QWidget* parent = nullptr);

  // Shows the description of `TJ`.
  void SetFromObj(const TJunkFileObj& TJ);

  void done(int r) override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  DescriptionContext context_;
  PlacementStore& placements_;
  QTextEdit* reProps_ = nullptr;
};

}  // namespace vorlo
