// The schedule dialog: turns the scheduled clean-up off or on daily, weekly
// or monthly, and shows its next and last run and the last run's outcome.
// It sets and reads the schedule as vorlo-cli schedule does.
#pragma once

#include <QDialog>

#include "app/schedule.h"

class QButtonGroup;
class QDialogButtonBox;
class QLabel;
class QRadioButton;

namespace vorlo {

class TScheduleForm final : public QDialog {
  Q_OBJECT

 public:
  // Reads the schedule's status at once.
  TScheduleForm(ScheduleSetup setup, QWidget* parent = nullptr);

  // The chosen option: Off, Daily, Weekly, Monthly.
  SchedulePeriod Chosen() const;
  void Choose(SchedulePeriod period);

 private:
  void ShowStatus();
  void btnOKClick();

  ScheduleSetup setup_;
  ScheduleStatus status_;
  SchedulePeriod shown_ = SchedulePeriod::Off;  // what the service manager runs now
  QButtonGroup* group_ = nullptr;
  QRadioButton* rbPeriods_[4] = {};
  QLabel* lblStatus_ = nullptr;  // the status lines, as vorlo-cli schedule status prints them
  QLabel* lblSkips_ = nullptr;
  QLabel* lblProblem_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

// Opens the dialog over `parent` for the user's schedule, with the runs of
// the data folder of `files`. `manager` null: systemctl --user.
void ShowScheduleForm(ServiceManager* manager, const DataFiles& files, QWidget* parent);

}  // namespace vorlo
