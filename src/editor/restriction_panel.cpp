#include "editor/restriction_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <cmath>

#include "gui/display_text.h"
#include "core/description.h"
#include "core/spec_rules.h"
#include "editor/comparison_diagram.h"

namespace vorlo {
namespace {

constexpr int kAgeCount = 7;
constexpr int kUnitCount = 3;
constexpr const char* kDateFormat = "MM'/'dd'/'yyyy";


// Comparison items; index = restriction code.
QStringList Items(Comparison kind) {
  QStringList list;
  for (int32_t code = 0; code < 5; ++code) list << DisplayText(ComparisonText(kind, code));
  return list;
}

// Replaces a list's items and leaves it without a selection (a list that
// was empty would otherwise select its first new item).
void SetItems(QComboBox& box, const QStringList& items) {
  box.clear();
  box.addItems(items);
  box.setCurrentIndex(-1);
}

const QDate kDayZero(1899, 12, 30);

QDate DateOfDayNumber(double day) { return kDayZero.addDays(static_cast<qint64>(std::trunc(day))); }
double DayNumberOf(const QDate& date) { return static_cast<double>(kDayZero.daysTo(date)); }

// A size text as a whole number of 0 to 2147483647; `fallback` for text
// that is empty, not a number or too large.
int32_t SizeOf(const QString& text, int32_t fallback) { return SizeNumber(text.toStdString()).value_or(fallback); }

// Refuses typed printable characters other than digits; control
// characters (Backspace, the paste shortcut) pass.
class DigitKeyFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      if (!typed.isEmpty() && typed[0].unicode() >= 32 && !(typed[0] >= QLatin1Char('0') && typed[0] <= QLatin1Char('9')))
        return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

template <typename W>
W* Place(W* widget, const char* objectName, int x, int y, int width, const char* hint = nullptr) {
  widget->setObjectName(QString::fromLatin1(objectName));
  widget->setGeometry(x, y, width, 21);
  if (hint) widget->setStatusTip(DisplayText(hint));  // the wizard shows it in its status bar
  return widget;
}

}  // namespace

TRestrictPanel::TRestrictPanel(double today, QWidget* parent) : QWidget(parent) {
  setMinimumSize(393, 113);
  setFixedHeight(113);

  ckRstDate_ = Place(new QCheckBox(DisplayText("Process matching files only if"), this), "ckRstDate", 16, 8, 193,
                     "If checked, only process files matching the date/age restrictions below");
  rbDate_ = Place(new QRadioButton(DisplayText("date"), this), "rbDate", 208, 8, 49,
                  "Restrict deletion by absolute date (e.g. 1/1/1999) ");
  rbAge_ = Place(new QRadioButton(DisplayText("age"), this), "rbAge", 260, 8, 45,
                 "Restrict deleation by relative date (e.g. 1 year old)");
  auto* lblIs = Place(new QLabel(DisplayText("is"), this), "lblIs", 312, 9, 12);
  cbDateType_ = Place(new TComparisonBox(this), "cbDateType", 32, 28, 97,
                      "Choose comparison method for date/age restriction");
  cbAgeDat1_ = Place(new QComboBox(this), "cbAgeDat1", 136, 28, 105, "Choose a relative date");
  dpDateDat1_ = Place(new QDateEdit(this), "dpDateDat1", 136, 28, 105,
                      "Choose a date. Click down-arrow for calendar.");
  lblDateAnd_ = Place(new QLabel(DisplayText("and"), this), "lblDateAnd", 248, 32, 24);
  cbAgeDat2_ = Place(new QComboBox(this), "cbAgeDat2", 280, 28, 105, "Choose second relative date");
  dpDateDat2_ = Place(new QDateEdit(this), "dpDateDat2", 280, 28, 105,
                      "Choose second date. Click down-arrow for calendar.");
  ckRstSize_ = Place(new QCheckBox(DisplayText("Process matching files only if size is"), this), "ckRstSize", 16, 59, 233,
                     "If checked, only process files matching the size restrictions below");
  cbSizeType_ = Place(new TComparisonBox(this), "cbSizeType", 32, 79, 97,
                      "Choose comparison method for size restriction");
  ebSizeDat1_ = Place(new QLineEdit(this), "ebSizeDat1", 136, 79, 73, "Enter file size");
  lblSizeAnd_ = Place(new QLabel(DisplayText("and"), this), "lblSizeAnd", 216, 83, 24);
  ebSizeDat2_ = Place(new QLineEdit(this), "ebSizeDat2", 248, 79, 73, "Enter second file size");
  cbSizeUnits_ = Place(new QComboBox(this), "cbSizeUnits", 328, 79, 57, "Select units for file size");
  lblIs->adjustSize();

  QStringList ages;
  for (int i = 0; i < kAgeCount; ++i) ages << DisplayText(AgeText(i));
  SetItems(*cbAgeDat1_, ages);
  SetItems(*cbAgeDat2_, ages);
  QStringList units;
  for (int i = 0; i < kUnitCount; ++i) units << DisplayText(SizeUnitText(i));
  SetItems(*cbSizeUnits_, units);
  SetItems(*cbSizeType_, Items(Comparison::Size));

  // Day numbers outside the years 1 to 9999 have no date to show.
  for (QDateEdit* picker : {dpDateDat1_, dpDateDat2_}) {
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    picker->setDisplayFormat(DisplayText(kDateFormat));
    picker->setCalendarPopup(true);
  }
  for (QLineEdit* edit : {ebSizeDat1_, ebSizeDat2_}) edit->installEventFilter(new DigitKeyFilter(edit));

  for (QWidget* w : std::initializer_list<QWidget*>{rbDate_, rbAge_, cbDateType_, cbAgeDat1_, dpDateDat1_, cbAgeDat2_,
                                                    dpDateDat2_, lblDateAnd_, cbSizeType_, ebSizeDat1_, ebSizeDat2_,
                                                    cbSizeUnits_, lblSizeAnd_})
    w->setEnabled(false);

  connect(ckRstDate_, &QCheckBox::toggled, this, &TRestrictPanel::ckRstDateClick);
  connect(rbDate_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbDateClick(0);
  });
  connect(rbAge_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbDateClick(1);
  });
  connect(cbDateType_, &QComboBox::currentIndexChanged, this, &TRestrictPanel::cbDateTypeChange);
  connect(ckRstSize_, &QCheckBox::toggled, this, &TRestrictPanel::ckRstSizeClick);
  connect(cbSizeType_, &QComboBox::currentIndexChanged, this, &TRestrictPanel::cbSizeTypeChange);
  connect(ebSizeDat1_, &QLineEdit::textChanged, this, [this] { ebSizeChange(ebSizeDat1_); });
  connect(ebSizeDat2_, &QLineEdit::textChanged, this, [this] { ebSizeChange(ebSizeDat2_); });
  for (QComboBox* box : {cbAgeDat1_, cbAgeDat2_, cbSizeUnits_})
    connect(box, &QComboBox::currentIndexChanged, this, &TRestrictPanel::changed);
  for (QDateEdit* picker : {dpDateDat1_, dpDateDat2_})
    connect(picker, &QDateEdit::dateChanged, this, &TRestrictPanel::changed);

  rbDate_->setChecked(true);
  dpDateDat1_->setDate(DateOfDayNumber(today));
  dpDateDat2_->setDate(DateOfDayNumber(today));
}

TRestrictPanel::~TRestrictPanel() = default;

void TRestrictPanel::ckRstDateClick() {
  const bool on = ckRstDate_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{rbDate_, rbAge_, cbDateType_, cbAgeDat1_, dpDateDat1_})
    w->setEnabled(on);
  const bool second = on && cbDateType_->currentIndex() > 2;
  for (QWidget* w : std::initializer_list<QWidget*>{cbAgeDat2_, dpDateDat2_, lblDateAnd_}) w->setEnabled(second);
  Q_EMIT changed();
}

void TRestrictPanel::rbDateClick(int tag) {
  const bool dates = tag == 0;
  {
    // Replacing the items is not a choice of comparison: the second-value
    // controls keep their state.
    const QSignalBlocker block(cbDateType_);
    SetItems(*cbDateType_, Items(dates ? Comparison::Date : Comparison::Age));
  }
  cbDateType_->update();
  dpDateDat1_->setVisible(dates);
  dpDateDat2_->setVisible(dates);
  cbAgeDat1_->setVisible(!dates);
  cbAgeDat2_->setVisible(!dates);
  Q_EMIT changed();
}

void TRestrictPanel::cbDateTypeChange() {
  const bool second = cbDateType_->currentIndex() > 2;
  dpDateDat2_->setEnabled(second);
  cbAgeDat2_->setEnabled(second);
  lblDateAnd_->setEnabled(second);
  if (!second) cbAgeDat2_->setCurrentIndex(-1);
  Q_EMIT changed();
}

void TRestrictPanel::ckRstSizeClick() {
  const bool on = ckRstSize_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{cbSizeType_, ebSizeDat1_, cbSizeUnits_}) w->setEnabled(on);
  const bool second = on && cbSizeType_->currentIndex() > 2;
  ebSizeDat2_->setEnabled(second);
  lblSizeAnd_->setEnabled(second);
  Q_EMIT changed();
}

void TRestrictPanel::cbSizeTypeChange() {
  const bool second = cbSizeType_->currentIndex() > 2;
  ebSizeDat2_->setEnabled(second);
  if (!second) ebSizeDat2_->clear();
  lblSizeAnd_->setEnabled(second);
  Q_EMIT changed();
}

void TRestrictPanel::ebSizeChange(QLineEdit* edit) {
  QString text = edit->text();
  for (qsizetype i = text.size() - 1; i >= 0; --i)
    if (!(text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))) text.remove(i, 1);
  if (text != edit->text()) {
    const QSignalBlocker block(edit);
    edit->setText(text);
    edit->setCursorPosition(static_cast<int>(text.size()));
  }
  Q_EMIT changed();
}

bool TRestrictPanel::OkRestrictions() const {
  RestrictionChoice c;
  c.dateOn = ckRstDate_->isChecked();
  c.byDate = rbDate_->isChecked();
  c.byAge = rbAge_->isChecked();
  c.dateType = cbDateType_->currentIndex();
  c.date1 = DayNumberOf(dpDateDat1_->date());
  c.date2 = DayNumberOf(dpDateDat2_->date());
  c.age1 = cbAgeDat1_->currentIndex();
  c.age2 = cbAgeDat2_->currentIndex();
  c.sizeOn = ckRstSize_->isChecked();
  c.sizeType = cbSizeType_->currentIndex();
  c.sizeUnit = cbSizeUnits_->currentIndex();
  c.size1 = ebSizeDat1_->text().toStdString();
  c.size2 = ebSizeDat2_->text().toStdString();
  return RestrictionsComplete(c);
}

void TRestrictPanel::LoadFrom(const TJunkFileObj& TJ) {
  if (TJ.DateRestrict()) {
    ckRstDate_->setChecked(true);
    ckRstDateClick();
    rbDate_->setChecked(true);
    rbDateClick(0);
    cbDateType_->setCurrentIndex(TJ.DateRestrictType());
    cbDateTypeChange();
    dpDateDat1_->setDate(DateOfDayNumber(TJ.DateData1()));
    dpDateDat2_->setDate(DateOfDayNumber(TJ.DateData2()));
  }
  if (TJ.AgeRestrict()) {
    ckRstDate_->setChecked(true);
    ckRstDateClick();
    rbAge_->setChecked(true);
    rbDateClick(1);
    cbDateType_->setCurrentIndex(TJ.AgeRestrictType());
    cbDateTypeChange();
    cbAgeDat1_->setCurrentIndex(TJ.AgeData1());
    cbAgeDat2_->setCurrentIndex(TJ.AgeData2());
  }
  if (TJ.SizeRestrict()) {
    ckRstSize_->setChecked(true);
    ckRstSizeClick();
    cbSizeType_->setCurrentIndex(TJ.SizeRestrictType());
    cbSizeTypeChange();
    ebSizeDat1_->setText(QString::number(TJ.SizeData1()));
    ebSizeDat2_->setText(QString::number(TJ.SizeData2()));
    cbSizeUnits_->setCurrentIndex(TJ.SizeUnit());
  }
}

RestrictionValues TRestrictPanel::Store() const {
  RestrictionValues v;
  v.date.on = ckRstDate_->isChecked() && rbDate_->isChecked();
  v.age.on = ckRstDate_->isChecked() && rbAge_->isChecked();
  v.size.on = ckRstSize_->isChecked();
  v.date.type = cbDateType_->currentIndex();
  v.age.type = cbDateType_->currentIndex();
  v.date.data1 = DayNumberOf(dpDateDat1_->date());
  v.date.data2 = DayNumberOf(dpDateDat2_->date());
  v.age.data1 = cbAgeDat1_->currentIndex();
  v.age.data2 = cbAgeDat2_->currentIndex();
  v.size.type = cbSizeType_->currentIndex();
  v.size.unit = cbSizeUnits_->currentIndex();
  v.size.data1 = SizeOf(ebSizeDat1_->text(), 0);
  v.size.data2 = SizeOf(ebSizeDat2_->text(), 0);
  return v;
}

}  // namespace vorlo
