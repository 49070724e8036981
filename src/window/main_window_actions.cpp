// The main window's commands: each action with its caption, hint and
// shortcut, what it runs, and the enabling table.
#include <QAction>
#include <QListView>
#include <QMenu>
#include <QTimer>

#include "app/junk_list.h"
#include "app/schedule_texts.h"
#include "app/texts.h"
#include "core/recycle_bin.h"
#include "dialogs/about_form.h"
#include "dialogs/default_form.h"
#include "dialogs/prop_form.h"
#include "dialogs/review_form.h"
#include "dialogs/schedule_form.h"
#include "dialogs/settings_form.h"
#include "dialogs/update_form.h"
#include "gui/display_text.h"
#include "platform/file_ops.h"
#include "window/junk_list_model.h"
#include "window/main_window.h"

namespace vorlo {

QAction* TMainForm::MakeAction(const char* name, const QString& caption, const QString& hint,
                               const QKeySequence& shortcut) {
  auto* a = new QAction(caption, this);
  a->setObjectName(QString::fromLatin1(name));
  a->setStatusTip(hint);
  a->setToolTip(hint);
  if (!shortcut.isEmpty()) {
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
  return a;
}

void TMainForm::BuildActions() {
  MainActions& a = actions_;
  a.aCleanup =
      MakeAction("aCleanup", QStringLiteral("&Clean up"), QStringLiteral("Process all checked junk file types now"));
  a.act1 = MakeAction("act1", QStringLiteral("&Clean up"));
  a.act10 = MakeAction("act10", QStringLiteral("&Analyze only"));
  a.aReview = MakeAction("aReview", DisplayText(texts::kReviewCommand),
                         QStringLiteral("Review the files the last analysis found and clean up the ticked ones"));
  a.aUndoCleanup = MakeAction("aUndoCleanup", QStringLiteral("&Undo last clean-up"),
                              QStringLiteral("Put back what the last clean-up sent to the trash or the holding folder"));
  a.aAdd =
      MakeAction("aAdd", QStringLiteral("&New item"), QStringLiteral("Add a new junk file type"), Qt::Key_Insert);
  a.act2 = MakeAction("act2", QStringLiteral("&Add new item"));
  a.aDefaults =
      MakeAction("aDefaults", QStringLiteral("&Defaults"), QStringLiteral("Add one of the default junk file types"));
  a.act9 = MakeAction("act9", QStringLiteral("&Defaults"));
  a.aEdit = MakeAction("aEdit", QStringLiteral("&Edit item"), QStringLiteral("Edit the selected junk file type"));
  a.aRem = MakeAction("aRem", QStringLiteral("&Remove item"), QStringLiteral("Remove the highlighted junk file type"),
                      QKeySequence(Qt::CTRL | Qt::Key_X));
  a.aUndo = MakeAction("aUndo", QStringLiteral("&Undo removal"),
                       QStringLiteral("Undo the most recent Remove operation"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  a.aUp = MakeAction("aUp", QStringLiteral("Move item &higher"),
                     QStringLiteral("Move the selected item higher in the list"),
                     QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_H));
  a.act5 = MakeAction("act5", QStringLiteral("Move item &higher"));
  a.aDn = MakeAction("aDn", QStringLiteral("Move item &lower"),
                     QStringLiteral("Move the selected item lower in the list"),
                     QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_L));
  a.aProps = MakeAction("aProps", QStringLiteral("Display &properties"),
                        QStringLiteral("Display properties for the selected junk file type"),
                        QKeySequence(Qt::CTRL | Qt::Key_Enter));
  // The keypad's Enter comes first so that the shortcut reads "Ctrl+Enter".
  a.aProps->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)});
  a.aCount = MakeAction("aCount", QStringLiteral("Coun&t matching files"), DisplayText(texts::kCountHint));
  a.aCheckAll = MakeAction("aCheckAll", QStringLiteral("Check &All"));
  a.aClearAll = MakeAction("aClearAll", QStringLiteral("Unchec&k All"));
  a.aAbout =
      MakeAction("aAbout", QStringLiteral("A&bout"), QStringLiteral("Display version and copyright information"));
  a.Action1 = MakeAction("Action1", QStringLiteral("&About Vorlo"));
  a.Action3 = MakeAction("Action3", QStringLiteral("&Settings.."));
  a.aSchedule = MakeAction("aSchedule", DisplayText(texts::kScheduleCommand));
  a.onlineUpdate = MakeAction("onlineUpdate", QStringLiteral("&Online-Update"));
  a.aExit = MakeAction("aExit", QStringLiteral("E&xit"), QStringLiteral("Exit the program"));
  a.onlineUpdate->setVisible(false);
  a.onlineUpdate->setEnabled(false);
  // The method items carry their clean-up method code.
  a.mnuRecycleAll = MakeAction("mnuRecycleAll", QStringLiteral("Send to Recycle Bin"),
                               QStringLiteral("For all types, send removed files to Recycle Bin. "));
  a.mnuRecycleAll->setData(static_cast<int32_t>(CleanupMethod::cuRecycle));
  a.mnuBackupAll = MakeAction("mnuBackupAll", QStringLiteral("Move to holding folder"));
  a.mnuBackupAll->setData(static_cast<int32_t>(CleanupMethod::cuHolding));
  a.mnuDeleteAll = MakeAction("mnuDeleteAll", QStringLiteral("Delete permanently"),
                              QStringLiteral("For all types, delete files permanently."));
  a.mnuDeleteAll->setData(static_cast<int32_t>(CleanupMethod::cuDelete));

  // The rows of the enabling table that no state changes.
  for (QAction* always :
       {a.act1, a.act10, a.act9, a.act5, a.Action1, a.Action3, a.aSchedule, a.aExit, a.mnuBackupAll, a.mnuDeleteAll})
    always->setEnabled(true);
  a.act2->setEnabled(static_cast<bool>(services_.wizard));
  a.onlineUpdate->setEnabled(false);
}

void TMainForm::Connect() {
  const auto on = [this](QAction* command, auto&& slot) {
    connect(command, &QAction::triggered, this, std::forward<decltype(slot)>(slot));
  };
  const MainActions& a = actions_;
  on(a.aCleanup, [this] { runs_->aCleanupExecute(); });
  on(a.act1, [this] { runs_->aCleanupExecute(); });
  on(a.act10, [this] { runs_->act10Execute(); });
  on(a.aReview, [this] { aReviewExecute(); });
  on(a.aUndoCleanup, [this] { runs_->UndoExecute(); });
  on(a.aCount, [this] {
    const auto row = SelectedRow();
    runs_->aCountExecute(row ? static_cast<int>(*row) : -1);
  });
  on(a.aRem, [this] { aRemExecute(); });
  on(a.aUndo, [this] { aUndoExecute(); });
  on(a.aUp, [this] { MoveExecute(true); });
  on(a.act5, [this] { MoveExecute(true); });
  on(a.aDn, [this] { MoveExecute(false); });
  on(a.aAdd, [this] { aAddExecute(); });
  on(a.act2, [this] { aAddExecute(); });
  on(a.aEdit, [this] { aEditExecute(); });
  on(a.aDefaults, [this] { aDefaultsExecute(); });
  on(a.act9, [this] { aDefaultsExecute(); });
  on(a.aProps, [this] { aPropsExecute(); });
  on(a.aAbout, [this] { aAboutExecute(); });
  on(a.Action1, [this] { aAboutExecute(); });
  on(a.Action3, [this] { Action3Execute(); });
  on(a.aSchedule, [this] { ShowScheduleForm(services_.serviceManager, services_.files, this); });
  on(a.onlineUpdate, [this] { onlineUpdateExecute(); });
  on(a.aExit, [this] { close(); });
  on(a.aCheckAll, [this] { commands_.CheckAll(true); });
  on(a.aClearAll, [this] { commands_.CheckAll(false); });
  for (QAction* method : {a.mnuRecycleAll, a.mnuBackupAll, a.mnuDeleteAll})
    on(method, [this, method] { commands_.MethodForAll(method->data().toInt()); });

  // The Recycle Bin settings are checked afresh each time the submenu opens.
  connect(mnuMethodAll_, &QMenu::aboutToShow, this, [this] {
    binProblem_ = services_.bins.RecycleBinProblem();
    UpdateActions();
  });
  connect(lvJunk_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    UpdateActions();
    pmMain_->popup(lvJunk_->viewport()->mapToGlobal(pos));
  });
  connect(lvJunk_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TMainForm::OnSelectionChanged);
  connect(lvJunk_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex& previous) {
            RowStateChanged(previous);
            RowStateChanged(current);
          });
  connect(model_.get(), &QAbstractItemModel::modelReset, this, &TMainForm::UpdateActions);
  connect(model_.get(), &QAbstractItemModel::rowsInserted, this, &TMainForm::UpdateActions);
  connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, &TMainForm::UpdateActions);
}

void TMainForm::UpdateActions() {
  const RunState busy = runs_->VeryBusy();
  const bool idle = busy == RunState::Idle;
  const bool counting = busy == RunState::Counting;
  const bool running = busy == RunState::Running;
  const auto row = SelectedRow();
  const bool selected = row.has_value();
  const bool first = selected && *row == 0;
  const bool last = selected && *row + 1 >= list_.size();
  const bool any = !list_.empty();
  const bool wizard = static_cast<bool>(services_.wizard);  // add and edit need it

  const MainActions& a = actions_;
  a.aCleanup->setEnabled(idle ? list_.AnyChecked() : running);
  a.aUndoCleanup->setEnabled(idle && runs_->CanUndo());
  a.aReview->setEnabled(idle && FileExists(services_.files.Found()));
  a.aAdd->setEnabled(idle && wizard);
  a.aDefaults->setEnabled(idle);
  a.aEdit->setEnabled(idle && selected && wizard);
  a.aRem->setEnabled(idle && selected);
  a.aUndo->setEnabled(idle && commands_.CanUndo());
  a.aUp->setEnabled(idle && selected && !first);
  a.aDn->setEnabled(idle && selected && !last);
  a.aProps->setEnabled(idle && selected);
  a.aCount->setEnabled(idle ? selected : counting);
  a.aCheckAll->setEnabled(idle && any);
  a.aClearAll->setEnabled(idle && any);
  mnuMethodAll_->setEnabled(idle && any);
  a.mnuRecycleAll->setEnabled(!binProblem_);
  a.aAbout->setEnabled(idle);
}

void TMainForm::aRemExecute() {
  const auto row = SelectedRow();
  if (!row) return;
  const auto next = commands_.Remove(*row);
  if (next) SelectRow(static_cast<int>(*next));
}

void TMainForm::aUndoExecute() {
  ShowNewRow(commands_.Undo());
  // The row is in before the removal is forgotten: Undo's own state changes last.
  UpdateActions();
}

// A row added or restored is selected and brought into view, so that the
// command is seen to have worked; during a count or run the highlight stays
// on the row being handled.
void TMainForm::ShowNewRow(std::optional<size_t> row) {
  if (!row) return;
  if (runs_->VeryBusy() == RunState::Idle) SelectRow(static_cast<int>(*row));
  lvJunk_->scrollTo(model_->index(static_cast<int>(*row)));
}

void TMainForm::MoveExecute(bool up) {
  const auto row = SelectedRow();
  const auto moved = up ? commands_.MoveUp(row) : commands_.MoveDown(row);
  if (moved && moved != row) {
    SelectRow(static_cast<int>(*moved));
    lvJunk_->setFocus();
  } else if (up && runs_->VeryBusy() != RunState::Running) {
    // Only the ribbon's move stays enabled without a row above.
    SetPanel(1, std::string(row ? texts::kAlreadyFirst : texts::kNoneSelected));
  }
}

void TMainForm::aAddExecute() {
  if (!services_.wizard) return;
  const auto result = services_.wizard(this, TJunkFileObj(), services_.bins.RecycleBinProblem());
  if (result) ShowNewRow(commands_.Add(*result));
}

void TMainForm::aEditExecute() {
  const auto row = SelectedRow();
  if (!services_.wizard || !row || !list_[*row].type) return;
  const auto result = services_.wizard(this, *list_[*row].type, services_.bins.RecycleBinProblem());
  if (result) commands_.Edit(*row, *result);
}

void TMainForm::aDefaultsExecute() {
  TDefaultForm form(services_.bins.RecycleBinProblem(), services_.defaultFolders, services_.description(), this);
  if (form.exec() != QDialog::Accepted) return;
  if (const auto chosen = form.GetTheObj()) ShowNewRow(commands_.Add(*chosen));
}

void TMainForm::aPropsExecute() {
  const auto row = SelectedRow();
  if (!row || !list_[*row].type) return;
  TPropForm form(services_.description(), services_.placements, this);
  form.SetFromObj(*list_[*row].type);
  form.exec();
}

// The review of the last analysis's kept results; "Clean up ticked files"
// there starts the clean-up of exactly those.
void TMainForm::aReviewExecute() {
  if (runs_->VeryBusy() != RunState::Idle) return;
  ReviewActions actions{
      .cleanUp = [this](FoundResults ticked) { return runs_->CleanUpFound(std::move(ticked)); },
      .report = [this](const std::string& text) { Ask({MsgKind::Information, text, {MsgButton::Ok}, 0}); },
  };
  TReviewForm form(services_.placements, services_.separators, std::move(actions), this);
  if (!form.SetData(services_.files.Found())) {
    ReportFailure(form.LoadError().toStdString());
    return;
  }
  form.exec();
}

void TMainForm::OpenReview() { QTimer::singleShot(0, this, &TMainForm::aReviewExecute); }

void TMainForm::aAboutExecute() {
  TAboutForm form(this);
  form.exec();
}

void TMainForm::Action3Execute() {
  TSettingsform form(this);
  form.exec();
}

void TMainForm::onlineUpdateExecute() {
  TFormUpdate form(this);
  form.exec();
}

}  // namespace vorlo
