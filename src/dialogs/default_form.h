// The defaults window: the table of default junk types, one row each, with
// the description of the clicked row; "OK" hands a copy of the selected type
// to the caller.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "core/default_types.h"
#include "core/description.h"

class QPushButton;
class QTextEdit;
class QTreeWidget;

namespace vorlo {

class TDefaultForm final : public QDialog {
  Q_OBJECT

 public:
  // `RecycleProb` (the Recycle Bin is unusable) and `folders` build the
  // table; `context` serves the descriptions.
  TDefaultForm(bool RecycleProb, const DefaultFolders& folders, DescriptionContext context,
               QWidget* parent = nullptr);
  ~TDefaultForm() override;

  // A copy of the selected row's type, owned by the caller; nothing when no
  // row is selected.
  std::unique_ptr<TJunkFileObj> GetTheObj() const;

 private:
  // Run on every mouse click in the list: "OK" follows the selection and a
  // selected row is described. Keyboard moves leave both alone.
  void lvDefsClick();
  std::optional<size_t> SelectedRow() const;

  std::vector<TJunkFileObj> types_;  // one per row, in row order
  DescriptionContext context_;
  QTreeWidget* lvDefs_ = nullptr;
  QTextEdit* reProps_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};

}  // namespace vorlo
