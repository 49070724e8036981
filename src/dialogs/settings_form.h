// The settings window: picks the scheduling priority of the running
// program. The choice applies at once on "&Okay" and is not stored.
#pragma once

#include <QDialog>
#include <functional>

#include "platform/priority.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace vorlo {

class TSettingsform final : public QDialog {
  Q_OBJECT

 public:
  using PrioritySetter = std::function<void(PriorityClass)>;

  // `setPriority` applies the choice (the process's own priority by default).
  explicit TSettingsform(QWidget* parent = nullptr, PrioritySetter setPriority = SetOwnPriority);

  // Selected option: 0 "REALTIME_PRIORITY_CLASS", 1 "Normal", 2 "High".
  int ItemIndex() const;
  void SetItemIndex(int index);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void btnOKClick();

  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton* Items[3] = {};
  QPushButton* btnCancel = nullptr;
  QPushButton* btnOK = nullptr;

  QButtonGroup* group_ = nullptr;
  PrioritySetter setPriority_;
};

}  // namespace vorlo
