#include "editor/type_wizard.h"
#include "platform/file_ops.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "app/texts.h"
#include "core/local_drives.h"
#include "gui/dialog_parts.h"
#include "gui/help.h"
#include "gui/placement.h"
#include "editor/editor_texts.h"
#include "editor/restriction_panel.h"

namespace vorlo {

using enum WizardPage;

namespace {

// The wizard's own texts.
constexpr const char* kCaption = "Junk file type wizard";
constexpr const char* kPlacementName = "TypeWiz";
constexpr const char* kDisabledSuffix = " (disabled)";

}  // namespace

TTypeWiz::TTypeWiz(WizardSetup setup, QWidget* parent)
    : QDialog(parent),
      setup_(std::move(setup)),
      context_{mainThread_, setup_.clock, setup_.drives, setup_.skipFolders, nullptr},
      count_(std::string(texts::kStopEventName), context_, setup_.programFolder) {
  setWindowTitle(QString::fromUtf8(kCaption));
  SetWindowFont(*this);
  setSizeGripEnabled(false);

  Notebook1_ = new QStackedWidget(this);
  Notebook1_->addWidget(BuildNamePage());
  Notebook1_->addWidget(BuildDirsPage());
  Notebook1_->addWidget(BuildListPage(true));
  Notebook1_->addWidget(BuildListPage(false));
  Notebook1_->addWidget(BuildSummaryPage());
  Notebook1_->addWidget(BuildCountPage());

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar"));
  statusBar_->setSizeGripEnabled(true);
  // Under the hints: a hint hides it while it shows.
  lblReason_ = new QLabel(statusBar_);
  lblReason_->setObjectName(QStringLiteral("lblReason"));
  statusBar_->addWidget(lblReason_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Notebook1_, 1);
  layout->addWidget(line);
  layout->addWidget(BuildButtonBar());
  layout->addWidget(statusBar_);

  resize(458, 283 + statusBar_->sizeHint().height());
  setMinimumSize(445, 300);

  // Creation order: page 0, placement, the local-drives text, the list file.
  ShowPage(WizardPage::nbpgName);
  setup_.placements.GetPosFmINI(*this, kPlacementName, true);
  nameforAll_ = setup_.drives.NameForAll();
  TmpName_ = setup_.files.FoundList();
  btnNext_->setDefault(true);
  btnFinish_->setEnabled(false);
}

TTypeWiz::~TTypeWiz() {
  // The scan uses theObj_, the count and the context: stop it and let its
  // end notification run before any of them go.
  closeAfterCount_ = false;
  if (count_.Active()) {
    count_.Stop();
    while (count_.Active()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  RemoveFile(TmpName_);
}

void TTypeWiz::done(int r) {
  setup_.placements.SetPosToINI(*this, kPlacementName, true);
  QDialog::done(r);
}

// Pages and buttons.

WizardPage TTypeWiz::CurrentPage() const { return static_cast<WizardPage>(Notebook1_->currentIndex()); }

void TTypeWiz::ShowPage(WizardPage page) {
  Notebook1_->setCurrentIndex(static_cast<int>(page));
  Notebook1PageChanged();
}

void TTypeWiz::aNextExecute() {
  if (CurrentPage() != nbPgTotl) ShowPage(static_cast<WizardPage>(static_cast<int>(CurrentPage()) + 1));
}

void TTypeWiz::aBackExecute() {
  if (CurrentPage() != nbpgName) ShowPage(static_cast<WizardPage>(static_cast<int>(CurrentPage()) - 1));
}

void TTypeWiz::Notebook1PageChanged() {
  EnDisButtons();
  UpdateListActions();
  if (CurrentPage() == nbpgSumm) EnterSummary();
  if (CurrentPage() == nbPgTotl) EnterCounts();
}

void TTypeWiz::EnDisButtons() {
  if (!btnNext_) return;  // still building
  const WizardPage page = CurrentPage();
  const bool named = !ebName_->text().isEmpty();
  const bool dels = lbDels_->count() > 0;
  const bool restrictOk = restrict_->OkRestrictions();
  btnBack_->setEnabled(page != nbpgName && page != nbPgTotl);
  btnFinish_->setEnabled(named && restrictOk && dels && page != nbPgTotl);
  bool next = page != nbPgTotl;
  if (page == nbpgName) next = next && named;
  if (page == nbpgDels) next = next && dels && restrictOk;
  btnNext_->setEnabled(next);
  // A disabled Next or Finish says why for as long as it stays disabled
  // (on the Counts page the count holds them).
  const char* reason = page == nbPgTotl ? nullptr
                       : !named         ? texts::kNeedName
                       : !dels          ? texts::kNeedSpec
                       : !restrictOk    ? texts::kNeedRestriction
                                        : nullptr;
  const QString text = reason != nullptr ? QString::fromUtf8(reason) : QString();
  if (text == lblReason_->text()) return;
  lblReason_->setText(text);
  if (!text.isEmpty()) statusBar_->clearMessage();  // a new reason shows at once
}

// The enabling of the folder and list commands (idle updates in the
// original design; here run after each change that affects them).
void TTypeWiz::UpdateListActions() {
  if (lvDirs_) {
    const QTreeWidgetItem* first = lvDirs_->topLevelItem(0);
    btnDirClear_->setEnabled(first && !IsLocalDrives(*first));
  }
  for (int k = 0; k < 2; ++k) {
    const QListWidget* box = k == 0 ? lbDels_ : lbProts_;
    if (!box || !listButtons_[k][3]) continue;
    const bool selected = box->currentRow() >= 0 && !box->selectedItems().isEmpty();
    listButtons_[k][0]->setEnabled(true);
    listButtons_[k][1]->setEnabled(selected);
    listButtons_[k][2]->setEnabled(selected);
    listButtons_[k][3]->setEnabled(box->count() > 0);
  }
}

void TTypeWiz::aHelpExecute() { ShowHelpTopic(HelpContext(CurrentPage()), this); }

// Hints.

bool TTypeWiz::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    if (!RunActive()) statusBar_->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QDialog::event(e);
}

bool TTypeWiz::eventFilter(QObject* watched, QEvent* e) {
  if (watched == reProps_ && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      e->ignore();
      QApplication::sendEvent(this, e);
      return true;
    }
  }
  if (e->type() == QEvent::StatusTip) {
    // A disabled control says so after its hint.
    auto* control = qobject_cast<QWidget*>(watched);
    const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
    if (control && !control->isEnabled() && !tip.isEmpty()) {
      if (!RunActive()) statusBar_->showMessage(tip + QString::fromUtf8(kDisabledSuffix));
      return true;
    }
  }
  if (e->type() == QEvent::MouseMove) {
    if (auto* panel = qobject_cast<QWidget*>(watched); panel && panel != reProps_ && panel->property("hintPanel").toBool())
      pnlMainMouseMove(panel, static_cast<QMouseEvent*>(e)->position().toPoint());
  }
  return QDialog::eventFilter(watched, e);
}

// A disabled control hands its mouse moves to its panel, so the panel shows
// the control's hint for it. Over an enabled control the control's own hint
// stands.
void TTypeWiz::pnlMainMouseMove(QWidget* panel, const QPoint& pos) {
  if (RunActive()) return;
  QString hint;
  for (QWidget* child : panel->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
                         qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child);
    if (!control || !child->isVisibleTo(panel)) continue;
    const QRect rect(child->mapTo(panel, QPoint(0, 0)), child->size());
    if (!rect.contains(pos)) continue;
    if (child->isEnabled()) return;
    if (!child->statusTip().isEmpty()) hint = child->statusTip() + QString::fromUtf8(kDisabledSuffix);
  }
  if (hint.isEmpty())
    statusBar_->clearMessage();
  else
    statusBar_->showMessage(hint);
}

bool TTypeWiz::RunActive() const { return setup_.runActive && setup_.runActive(); }

// Escape belongs to Cancel, which a count disables: it then does nothing
// rather than throw away the edits.
void TTypeWiz::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && !btnCancel_->isEnabled()) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TTypeWiz::showEvent(QShowEvent* e) {
  // The method group grows past its design size when the style's frame,
  // title and the final font need it, so no method is cut off.
  QWidget* methods = rbRecycle_->parentWidget();
  methods->resize(std::max(185, methods->sizeHint().width()), std::max(89, methods->sizeHint().height()));
  QDialog::showEvent(e);
  ebName_->setFocus();
}

}  // namespace vorlo
