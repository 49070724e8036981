#include "window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListView>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <cerrno>

#include "gui/display_text.h"
#include "app/junk_list.h"
#include "app/texts.h"
#include "window/junk_list_model.h"
#include "core/recycle_bin.h"
#include "gui/desktop_open.h"
#include "gui/dialog_parts.h"
#include "gui/placement.h"
#include "platform/file_ops.h"
#include "core/text.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "MainForm";
constexpr int kMinWidth = 522;


}  // namespace

TMainForm::TMainForm(JunkList& list, WindowServices services, QWidget* parent)
    : QMainWindow(parent),
      list_(list),
      services_(std::move(services)),
      commands_(list_, *this, services_.bins, services_.files.RecoveryFile()) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Vorlo"));
  SetWindowFont(*this);
  resize(650, 463);
  setMinimumSize(460, 350);
  runs_ = std::make_unique<RunControl>(services_.runSetup(*this, list_, mainThread_));
  runs_->finished = [this] {
    UpdateActions();
    if (closeWhenIdle_) QTimer::singleShot(0, this, &QWidget::close);
  };
  runs_->listChanged = [this] { commands_.SaveList(); };

  BuildActions();
  BuildLayout();
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(200);
  connect(progressTimer_, &QTimer::timeout, this, &TMainForm::SampleProgress);
  Connect();
}

TMainForm::~TMainForm() = default;

std::optional<size_t> TMainForm::SelectedRow() const {
  const QModelIndexList rows = lvJunk_->selectionModel()->selectedIndexes();
  if (rows.isEmpty()) return std::nullopt;
  return static_cast<size_t>(rows.first().row());
}

void TMainForm::RowStateChanged(const QModelIndex& index) {
  if (index.isValid() && index.row() < model_->rowCount()) commands_.RowStateChanged(static_cast<size_t>(index.row()));
}

// While a count or run is active the highlight stays on the row it handles.
void TMainForm::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  for (const QItemSelection* rows : {&deselected, &selected})
    for (const QModelIndex& index : rows->indexes()) RowStateChanged(index);
  if (runs_->VeryBusy() == RunState::Idle) return UpdateActions();
  const auto row = SelectedRow();
  if (runs_->CleanIdx() >= 0 && (!row || static_cast<int32_t>(*row) != runs_->CleanIdx()))
    SelectRow(runs_->CleanIdx());
}

void TMainForm::SampleProgress() {
  if (runs_->VeryBusy() != RunState::Running) return;
  panels_[0]->setText(QString::number(runs_->CleanCountOneNow()));
  const std::string path = runs_->Progress().Latest();
  if (!path.empty()) setWindowTitle(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}

bool TMainForm::ClaimDataFolder() {
  // Without a usable folder (it cannot be created) the window keeps nothing
  // and so has nothing to guard.
  if (windowLock_.TryExclusive(services_.files.WindowLock()) != EWOULDBLOCK) return true;
  Ask({MsgKind::Error, FormatText(texts::kWindowOpen, services_.files.folder.c_str()), {MsgButton::Ok}, 0});
  return false;
}

bool TMainForm::FormCreate() {
  services_.placements.GetPosFmINI(*this, kWindowName, true);
  StartupList loaded = LoadStartupList(*this, services_.files, services_.bins, services_.defaultFolders);
  declinedKept_ = loaded.declinedKept;
  for (TJunkFileObj& t : loaded.types) list_.Append(std::move(t));
  return !loaded.unreadable;
}

void TMainForm::FormActivate() {
  if (DisableBinTypes(list_, *this, services_.bins) > 0) commands_.SaveList();
  if (!list_.empty()) SelectRow(0);
  UpdateActions();
}

// ---------------------------------------------------------------------------
// UserPort

MsgButton TMainForm::Ask(const Message& m) { return services_.dialogs ? services_.dialogs->Ask(m) : boxes_.Ask(m); }

void TMainForm::SetPanel(int panel, const std::string& text) {
  if (panel == 0 || panel == 1) panels_[panel]->setText(DisplayText(text));
}

void TMainForm::SelectRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= list_.size()) return;
  const QModelIndex index = model_->index(row);
  lvJunk_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  lvJunk_->scrollTo(index);
}

void TMainForm::SetBusy(bool busy) {
  commands_.SetReadOnly(busy);
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    progressTimer_->start();
  } else {
    QApplication::restoreOverrideCursor();
    progressTimer_->stop();
  }
  UpdateActions();
}

void TMainForm::SetCountCommand(const std::string& caption, const std::string& hint) {
  // The ribbon and menu keep their longer caption while idle.
  QAction* a = actions_.aCount;
  a->setText(caption == texts::kCountCaption ? QStringLiteral("Coun&t matching files") : DisplayText(caption));
  a->setStatusTip(DisplayText(hint));
  a->setToolTip(DisplayText(hint));
}

// A desktop without a program for the log says nothing itself: the person
// is told where the log is.
void TMainForm::OpenFile(const std::string& path) {
  auto ended = [this, path](bool opened) {
    if (!opened) Ask({MsgKind::Information, FormatText(texts::kLogNotShown, path.c_str()), {MsgButton::Ok}, 0});
  };
  if (services_.openFile) return services_.openFile(path, std::move(ended));
  OpenWithDesktop(DisplayText(path), this, std::move(ended));
}

// ---------------------------------------------------------------------------
// Window events

bool TMainForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    // Hints go to panel 1, except while a run shows its progress there.
    if (runs_->VeryBusy() != RunState::Running) panels_[1]->setText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  if (e->type() == QEvent::WindowActivate && !activated_) {
    activated_ = true;
    QTimer::singleShot(0, this, &TMainForm::FormActivate);
  }
  return QMainWindow::event(e);
}

void TMainForm::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (width() < kMinWidth) resize(kMinWidth, height());
}

void TMainForm::closeEvent(QCloseEvent* e) {
  // The scan thread uses the run's state: stop it first and close once the
  // run or count has ended.
  if (runs_->VeryBusy() != RunState::Idle) {
    closeWhenIdle_ = true;
    if (runs_->VeryBusy() == RunState::Running)
      runs_->aCleanupExecute();
    else
      runs_->aCountExecute(runs_->CleanIdx());
    e->ignore();
    return;
  }
  if (const int err = CreateFolderTree(services_.files.folder); err == 0)
    services_.placements.SetPosToINI(*this, kWindowName, true);
  // A recovery file the user declined stays what it is until a change of
  // this session replaces it.
  if (!declinedKept_ || commands_.WroteList()) PromoteRecoveryFile(*this, services_.files);
  QMainWindow::closeEvent(e);
}



}  // namespace vorlo
