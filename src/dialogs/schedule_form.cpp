#include "dialogs/schedule_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/schedule_texts.h"
#include "gui/dialog_parts.h"
#include "gui/display_text.h"
#include "gui/help.h"
#include "platform/locale_info.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "ScheduleForm";
constexpr int kWidth = 460;
constexpr int kMinWidth = 380;

QLabel* WrappedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

TScheduleForm::TScheduleForm(ScheduleSetup setup, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      setup_(std::move(setup)) {
  SetUpWindow(*this, kWindowName, std::string(texts::kScheduleCaption).c_str());
  auto* layout = new QVBoxLayout(this);

  auto* periods = new QGroupBox(DisplayText(texts::kScheduleGroup), this);
  periods->setObjectName(QStringLiteral("gbPeriod"));
  auto* row = new QHBoxLayout(periods);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    rbPeriods_[i] = new QRadioButton(DisplayText(texts::kPeriodCaptions[i]), periods);
    rbPeriods_[i]->setObjectName(QStringLiteral("rb") + DisplayText(PeriodWord(static_cast<SchedulePeriod>(i))));
    row->addWidget(rbPeriods_[i]);
    group_->addButton(rbPeriods_[i], i);
  }
  row->addStretch(1);
  layout->addWidget(periods);

  lblStatus_ = WrappedLabel("lblStatus", this);
  lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(lblStatus_);
  lblSkips_ = WrappedLabel("lblSkips", this);
  lblSkips_->setText(DisplayText(texts::kSkipsPermanent));
  layout->addWidget(lblSkips_);
  lblProblem_ = WrappedLabel("lblProblem", this);
  lblProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
  layout->addWidget(lblProblem_);
  layout->addStretch(1);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons_->setObjectName(QStringLiteral("buttons"));
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &TScheduleForm::btnOKClick);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons_, &QDialogButtonBox::helpRequested, this, [this] { ShowHelpTopic(texts::kHelpSchedule, this); });

  resize(kWidth, 0);
  status_ = ReadSchedule(setup_);
  ShowStatus();
  Choose(shown_);
}

SchedulePeriod TScheduleForm::Chosen() const { return static_cast<SchedulePeriod>(std::max(0, group_->checkedId())); }

void TScheduleForm::Choose(SchedulePeriod period) { rbPeriods_[static_cast<int>(period)]->setChecked(true); }

void TScheduleForm::ShowStatus() {
  shown_ = status_.enabled ? status_.period : SchedulePeriod::Off;
  QString text;
  for (const std::string& line : ScheduleStatusLines(status_, UserNumberSeparators()))
    text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + DisplayText(line);
  lblStatus_->setText(text);
  // Without a service manager there is nothing to choose.
  const bool usable = status_.unavailable.empty();
  for (QRadioButton* rb : rbPeriods_) rb->setEnabled(usable);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(usable);
  lblProblem_->setVisible(!lblProblem_->text().isEmpty());
  // Wrapped lines take more height the narrower the dialog: at its least
  // width it still has room for all of them, and it grows for new ones.
  layout()->activate();
  setMinimumSize(kMinWidth, heightForWidth(kMinWidth));
  resize(width(), std::max(height(), heightForWidth(width())));
}

void TScheduleForm::btnOKClick() {
  const SchedulePeriod chosen = Chosen();
  // Off also removes a timer that is written but not enabled.
  if (chosen == shown_ && (chosen != SchedulePeriod::Off || status_.period == SchedulePeriod::Off)) return accept();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::string why = SetSchedule(setup_, chosen);
  QApplication::restoreOverrideCursor();
  if (why.empty()) return accept();
  // The dialog stays open with the reason and the schedule as it now is.
  lblProblem_->setText(DisplayText(why));
  status_ = ReadSchedule(setup_);
  ShowStatus();
}

void ShowScheduleForm(ServiceManager* manager, const DataFiles& files, QWidget* parent) {
  SystemServiceManager system;
  TScheduleForm form(ScheduleSetup{manager ? *manager : system, UserUnitFolder(), CompanionProgram(), {}, files},
                     parent);
  form.exec();
}

}  // namespace vorlo
