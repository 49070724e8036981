// The Summary and Counts pages: the description of the type, and a count of
// the files it would process, run by the app's count and shown in labels.
#include "editor/type_wizard.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <cstring>

#include "gui/display_text.h"
#include "app/texts.h"
#include "core/text.h"
#include "dialogs/found_form.h"
#include "editor/wizard_items.h"
#include "gui/description_view.h"

namespace vorlo {

using namespace wizard;

namespace {

constexpr const char* kCountingFor = "Counting files for \"%s\"";
constexpr const char* kOneMoment = "One moment please...";
constexpr const char* kListFileFailed = "The list of found files cannot be created: %s (%s)";

}  // namespace

void TTypeWiz::EnterSummary() {
  btnNext_->setDefault(true);
  btnFinish_->setDefault(false);
  theObj_.reset();
  REDisplay(*reProps_, GetFromObj(), setup_.description);
}

void TTypeWiz::EnterCounts() {
  btnStop_->setEnabled(true);
  btnView_->setEnabled(false);
  if (!busyCursor_) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    busyCursor_ = true;
  }
  btnCancel_->setEnabled(false);
  btnNext_->setDefault(false);
  btnFinish_->setDefault(true);
  const TJunkFileObj& tj = GetFromObj();
  lblTypCount_->setText(DisplayText(FormatText(kCountingFor, tj.TypName().c_str())));
  lblTypDirs_->setText(QString::fromUtf8(kOneMoment));
  for (QLabel* l : {lblTypDels_, lblTypRes_, lblTypProts_, lblTypActual_, lblTypSize_}) l->clear();
  StartCount();
}

void TTypeWiz::StartCount() {
  const int err = count_.Start(
      *theObj_, TmpName_, [this](const CountResult& counted) { ReptCounting(counted); },
      [this](bool stopped) { DoneCounting(stopped); });
  if (err == 0) return;
  // Without its list the count cannot start; the wizard stays usable.
  lblTypDirs_->setText(DisplayText(FormatText(kListFileFailed, TmpName_.c_str(), std::strerror(err))));
  CountEnded();
}

void TTypeWiz::ReptCounting(const CountResult& counted) {
  const CountLines lines = CountReportLines(counted, setup_.separators, CountWording::Page);
  lblTypDirs_->setText(DisplayText(lines.folders));
  lblTypDels_->setText(DisplayText(lines.matched));
  lblTypRes_->setText(DisplayText(lines.restricted));
  lblTypProts_->setText(DisplayText(lines.protectedFiles));
  lblTypActual_->setText(DisplayText(lines.actual));
  lblTypSize_->setText(DisplayText(lines.size));
  btnView_->setEnabled(counted.Actual() > 0);
}

void TTypeWiz::DoneCounting(bool stopped) {
  if (stopped) {
    lblTypCount_->setText(DisplayText(texts::kStoppedByUser));
    lblTypDirs_->clear();
  }
  CountEnded();
  if (closeAfterCount_) {
    closeAfterCount_ = false;
    QDialog::reject();
  }
}

// The page's state after a count, or after one that could not start.
void TTypeWiz::CountEnded() {
  if (busyCursor_) {
    QApplication::restoreOverrideCursor();
    busyCursor_ = false;
  }
  btnFinish_->setEnabled(true);
  btnNext_->setEnabled(false);
  btnBack_->setEnabled(true);
  btnCancel_->setEnabled(true);
  btnStop_->setEnabled(false);
}

void TTypeWiz::btnStopClick() {
  count_.Stop();
  btnStop_->setEnabled(false);
}

void TTypeWiz::btnViewClick() {
  ShowFoundFiles(this, setup_.placements, TmpName_, ebName_->text().toStdString());
}

void TTypeWiz::reject() {
  if (count_.Active()) {
    btnStopClick();
    closeAfterCount_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace vorlo
