#include "window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cerrno>
#include <tuple>

#include "app/junk_list.h"
#include "app/schedule_texts.h"
#include "app/texts.h"
#include "window/junk_list_model.h"
#include "window/ribbon.h"
#include "core/recycle_bin.h"
#include "dialogs/about_form.h"
#include "dialogs/default_form.h"
#include "gui/desktop_open.h"
#include "gui/dialog_parts.h"
#include "gui/help.h"
#include "dialogs/prop_form.h"
#include "dialogs/schedule_form.h"
#include "dialogs/settings_form.h"
#include "dialogs/update_form.h"
#include "gui/placement.h"
#include "platform/file_ops.h"
#include "core/text.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "MainForm";
constexpr int kRibbonHeight = 143;
constexpr int kMinWidth = 522;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

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
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildRibbon());
  BuildList();
  layout->addWidget(lvJunk_, 1);
  auto* strip = new QWidget(central);
  strip->setFixedHeight(32);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(4, 4, 8, 4);
  stripLayout->addStretch(1);
  auto* btnExit = new QPushButton(actions_.aExit->text(), strip);
  btnExit->setObjectName(QStringLiteral("btnExit"));
  btnExit->setFixedSize(75, 23);
  btnExit->setStatusTip(actions_.aExit->statusTip());
  connect(btnExit, &QPushButton::clicked, actions_.aExit, &QAction::trigger);
  stripLayout->addWidget(btnExit);
  layout->addWidget(strip);
  setCentralWidget(central);

  for (int i = 0; i < 2; ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setObjectName(QStringLiteral("panel%1").arg(i));
  }
  panels_[0]->setFixedWidth(80);
  panels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  statusBar()->addWidget(panels_[0]);
  statusBar()->addWidget(panels_[1], 1);

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(200);
  connect(progressTimer_, &QTimer::timeout, this, &TMainForm::SampleProgress);
  Connect();
}

TMainForm::~TMainForm() = default;

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
  a.aCount = MakeAction("aCount", QStringLiteral("Coun&t matching files"), Q(texts::kCountHint));
  a.aCheckAll = MakeAction("aCheckAll", QStringLiteral("Check &All"));
  a.aClearAll = MakeAction("aClearAll", QStringLiteral("Unchec&k All"));
  a.aAbout =
      MakeAction("aAbout", QStringLiteral("A&bout"), QStringLiteral("Display version and copyright information"));
  a.Action1 = MakeAction("Action1", QStringLiteral("&About Vorlo"));
  a.Action3 = MakeAction("Action3", QStringLiteral("&Settings.."));
  a.aSchedule = MakeAction("aSchedule", Q(texts::kScheduleCommand));
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
}

// The ribbon: tabs of groups of commands, and the application menu with
// "A&bout".
QWidget* TMainForm::BuildRibbon() {
  ribbon_ = new Ribbon(this);
  ribbon_->setFixedHeight(kRibbonHeight);
  const MainActions& a = actions_;
  ribbon_->AddTab(QStringLiteral("Vorlo"), {{QStringLiteral("Tools"), {a.act10, a.act1}}});
  ribbon_->AddTab(QStringLiteral("Functions"), {{QStringLiteral("Optionen"), {a.act9, a.act2, a.aEdit}},
                                                {QStringLiteral("Move item"), {a.act5, a.aDn}},
                                                {QStringLiteral("Divers"), {a.aProps, a.aCount}, {a.Action3, a.aSchedule}},
                                                {QStringLiteral("Online-Updates"), {a.onlineUpdate}}});
  ribbon_->AddTab(QStringLiteral("Info"), {{QStringLiteral("About the author"), {a.Action1}}});
  // "Stop" takes the count's place while it runs; nothing around it moves.
  ribbon_->ReserveCaption(a.aCount, Q(texts::kStopCaption));
  ribbon_->AppMenu()->addAction(a.aAbout);
  ribbon_->InstallKeys(this);
  ribbon_->setCurrentIndex(2);
  return ribbon_;
}

void TMainForm::BuildList() {
  lvJunk_ = new QListView(this);
  lvJunk_->setObjectName(QStringLiteral("lvJunk"));
  model_ = std::make_unique<JunkListModel>(list_);
  model_->onCheck = [this](size_t row, bool checked) {
    commands_.RowChecked(row, checked);
    // The clicked row becomes the selected and focused one (a run pins the
    // highlight back to its own row).
    SelectRow(static_cast<int>(row));
  };
  model_->onRename = [this](size_t row, const std::string& text) { commands_.Rename(row, text); };
  model_->readOnly = [this] { return commands_.ReadOnly(); };
  lvJunk_->setModel(model_.get());
  lvJunk_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvJunk_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  lvJunk_->setContextMenuPolicy(Qt::CustomContextMenu);
  // The menu shows the list's own Ctrl+H and Ctrl+L for moving (they work
  // while the list has the focus); the commands' Shift+Ctrl+H and
  // Shift+Ctrl+L work anywhere. Each entry mirrors its command.
  for (auto [key, command, entry] : {std::tuple{Qt::Key_H, actions_.aUp, &upEntry_},
                                     std::tuple{Qt::Key_L, actions_.aDn, &dnEntry_}}) {
    auto* extra = new QAction(command->text(), lvJunk_);
    extra->setObjectName(command->objectName() + QStringLiteral("Menu"));
    extra->setShortcut(QKeySequence(Qt::CTRL | key));
    extra->setShortcutContext(Qt::WidgetShortcut);
    const auto mirror = [extra, command] {
      extra->setEnabled(command->isEnabled());
      extra->setText(command->text());
      extra->setStatusTip(command->statusTip());
    };
    mirror();
    connect(command, &QAction::changed, extra, mirror);
    connect(extra, &QAction::triggered, command, &QAction::trigger);
    lvJunk_->addAction(extra);
    *entry = extra;
  }
  pmMain_ = BuildPopupMenu();
}

QMenu* TMainForm::BuildPopupMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("pmMain"));
  const MainActions& a = actions_;
  menu->addActions({a.aAdd, a.aEdit, a.aRem, a.aUndo});
  menu->addSeparator();
  menu->addActions({upEntry_, dnEntry_});
  menu->addSeparator();
  menu->addActions({a.aProps, a.aCount});
  menu->addSeparator();
  menu->addActions({a.aCheckAll, a.aClearAll});
  mnuMethodAll_ = menu->addMenu(QStringLiteral("Clean-up &method for All"));
  mnuMethodAll_->setObjectName(QStringLiteral("mnuMethodAll"));
  mnuMethodAll_->addActions({a.mnuRecycleAll, a.mnuBackupAll, a.mnuDeleteAll});
  return menu;
}

void TMainForm::Connect() {
  const auto on = [this](QAction* command, auto&& slot) {
    connect(command, &QAction::triggered, this, std::forward<decltype(slot)>(slot));
  };
  const MainActions& a = actions_;
  on(a.aCleanup, [this] { runs_->aCleanupExecute(); });
  on(a.act1, [this] { runs_->aCleanupExecute(); });
  on(a.act10, [this] { runs_->act10Execute(); });
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
  a.act1->setEnabled(true);
  a.act10->setEnabled(true);
  a.aAdd->setEnabled(idle && wizard);
  a.act2->setEnabled(wizard);
  a.aDefaults->setEnabled(idle);
  a.act9->setEnabled(true);
  a.aEdit->setEnabled(idle && selected && wizard);
  a.aRem->setEnabled(idle && selected);
  a.aUndo->setEnabled(idle && commands_.CanUndo());
  a.aUp->setEnabled(idle && selected && !first);
  a.act5->setEnabled(true);
  a.aDn->setEnabled(idle && selected && !last);
  a.aProps->setEnabled(idle && selected);
  a.aCount->setEnabled(idle ? selected : counting);
  a.aCheckAll->setEnabled(idle && any);
  a.aClearAll->setEnabled(idle && any);
  mnuMethodAll_->setEnabled(idle && any);
  a.mnuRecycleAll->setEnabled(!binProblem_);
  a.mnuBackupAll->setEnabled(true);
  a.mnuDeleteAll->setEnabled(true);
  a.aAbout->setEnabled(idle);
  a.Action1->setEnabled(true);
  a.Action3->setEnabled(true);
  a.aSchedule->setEnabled(true);
  a.onlineUpdate->setEnabled(false);
  a.aExit->setEnabled(true);
}

void TMainForm::aRemExecute() {
  const auto row = SelectedRow();
  if (!row) return;
  const auto next = commands_.Remove(*row);
  if (next) SelectRow(static_cast<int>(*next));
  UpdateActions();
}

void TMainForm::aUndoExecute() {
  ShowNewRow(commands_.Undo());
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
  UpdateActions();
}

void TMainForm::aEditExecute() {
  const auto row = SelectedRow();
  if (!services_.wizard || !row || !list_[*row].type) return;
  const auto result = services_.wizard(this, *list_[*row].type, services_.bins.RecycleBinProblem());
  if (result) commands_.Edit(*row, *result);
  UpdateActions();
}

void TMainForm::aDefaultsExecute() {
  TDefaultForm form(services_.bins.RecycleBinProblem(), services_.defaultFolders, services_.description(), this);
  if (form.exec() != QDialog::Accepted) return;
  if (const auto chosen = form.GetTheObj()) ShowNewRow(commands_.Add(*chosen));
  UpdateActions();
}

void TMainForm::aPropsExecute() {
  const auto row = SelectedRow();
  if (!row || !list_[*row].type) return;
  TPropForm form(services_.description(), services_.placements, this);
  form.SetFromObj(*list_[*row].type);
  form.exec();
}

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

MsgButton TMainForm::Ask(const Message& m) {
  if (services_.dialogs) return services_.dialogs->Ask(m);
  QMessageBox box(this);
  box.setWindowTitle(QStringLiteral("Vorlo"));
  box.setText(Q(m.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  switch (m.kind) {
    case MsgKind::Question:
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Plain: box.setIcon(QMessageBox::NoIcon); break;
  }
  QPushButton* yes = nullptr;
  for (MsgButton b : m.buttons) {
    switch (b) {
      case MsgButton::Ok: box.addButton(QMessageBox::Ok); break;
      case MsgButton::Yes: yes = box.addButton(QMessageBox::Yes); break;
      case MsgButton::No: box.addButton(QMessageBox::No); break;
      case MsgButton::Help: {
        // Help opens the topic and leaves the box open.
        QPushButton* help = box.addButton(QMessageBox::Help);
        help->disconnect();
        const int context = m.helpContext;
        connect(help, &QPushButton::clicked, &box, [context, &box] { ShowHelpTopic(context, &box); });
        break;
      }
    }
  }
  box.exec();
  if (box.clickedButton() == yes && yes != nullptr) return MsgButton::Yes;
  const auto clicked = box.standardButton(box.clickedButton());
  if (clicked == QMessageBox::No) return MsgButton::No;
  return yes != nullptr ? MsgButton::No : MsgButton::Ok;
}

void TMainForm::SetPanel(int panel, const std::string& text) {
  if (panel == 0 || panel == 1) panels_[panel]->setText(Q(text));
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
  a->setText(caption == texts::kCountCaption ? QStringLiteral("Coun&t matching files") : Q(caption));
  a->setStatusTip(Q(hint));
  a->setToolTip(Q(hint));
}

// A desktop without a program for the log says nothing itself: the person
// is told where the log is.
void TMainForm::OpenFile(const std::string& path) {
  auto ended = [this, path](bool opened) {
    if (!opened) Ask({MsgKind::Information, FormatText(texts::kLogNotShown, path.c_str()), {MsgButton::Ok}, 0});
  };
  if (services_.openFile) return services_.openFile(path, std::move(ended));
  OpenWithDesktop(Q(path), this, std::move(ended));
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
