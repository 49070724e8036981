// The properties window: the description of one junk type, read-only, with a
// "Done" button.
#pragma once

#include <QDialog>
#include <string>

#include "core/description.h"

class QTextEdit;

namespace vorlo {

class TPropForm final : public QDialog {
  Q_OBJECT

 public:
  // `context` gives the local-drives text and date separator of the
  // description. Restores position and size from the settings file
  // `iniPath`; saves them there when destroyed.
  TPropForm(DescriptionContext context, std::string iniPath, QWidget* parent = nullptr);
  ~TPropForm() override;

  // Shows the description of `TJ`.
  void SetFromObj(const TJunkFileObj& TJ);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  DescriptionContext context_;
  std::string iniPath_;
  QTextEdit* reProps_ = nullptr;
};

}  // namespace vorlo
