// The main window's layout: the ribbon with its tabs and groups, the junk
// list with its popup menu, the Exit strip and the status bar.
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <tuple>

#include "app/texts.h"
#include "gui/display_text.h"
#include "window/junk_list_model.h"
#include "window/main_window.h"
#include "window/ribbon.h"

namespace vorlo {

namespace {

constexpr int kRibbonHeight = 143;

}  // namespace

// The ribbon, the list, the Exit strip and the status bar panels.
void TMainForm::BuildLayout() {
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
}

// The ribbon: tabs of groups of commands, and the application menu with
// "A&bout".
QWidget* TMainForm::BuildRibbon() {
  ribbon_ = new Ribbon(this);
  ribbon_->setFixedHeight(kRibbonHeight);
  const MainActions& a = actions_;
  ribbon_->AddTab(QStringLiteral("Vorlo"), {{QStringLiteral("Tools"), {a.act10, a.aReview, a.act1, a.aUndoCleanup}}});
  ribbon_->AddTab(QStringLiteral("Functions"), {{QStringLiteral("Optionen"), {a.act9, a.act2, a.aEdit}},
                                                {QStringLiteral("Move item"), {a.act5, a.aDn}},
                                                {QStringLiteral("Divers"), {a.aProps, a.aCount}, {a.Action3, a.aSchedule}},
                                                {QStringLiteral("Online-Updates"), {a.onlineUpdate}}});
  ribbon_->AddTab(QStringLiteral("Info"), {{QStringLiteral("About the author"), {a.Action1}}});
  // "Stop" takes the count's place while it runs; nothing around it moves.
  ribbon_->ReserveCaption(a.aCount, DisplayText(texts::kStopCaption));
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

}  // namespace vorlo
