// Building the wizard's pages and its button bar.
#include "editor/type_wizard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/day_number.h"
#include "editor/restriction_panel.h"
#include "platform/clock.h"

namespace vorlo {

QPushButton* TTypeWiz::MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromUtf8(name));
  b->setStatusTip(hint);
  b->setAutoDefault(false);
  b->resize(75, 23);
  return b;
}

void TTypeWiz::WatchHints(QWidget* panel) {
  panel->setMouseTracking(true);
  panel->setProperty("hintPanel", true);
  panel->installEventFilter(this);
  // A control's own hint, also when disabled, passes the filter.
  for (QWidget* child : panel->findChildren<QWidget*>()) child->installEventFilter(this);
}

QWidget* TTypeWiz::BuildNamePage() {
  auto* page = new QWidget;
  auto* label = new QLabel(QStringLiteral("Name for this junk file type:"), page);
  label->move(8, 16);
  ebName_ = new QLineEdit(page);
  ebName_->setObjectName(QStringLiteral("ebName"));
  ebName_->setGeometry(8, 32, 421, 21);
  ebName_->setMaxLength(32);
  ebName_->setStatusTip(QStringLiteral("Enter a descriptive name"));
  label->setBuddy(ebName_);

  auto* group = new QGroupBox(QStringLiteral("Clean-up method"), page);
  group->setGeometry(8, 80, 185, 89);
  rbRecycle_ = new QRadioButton(QStringLiteral("Send to Recycle Bin"), group);
  rbRecycle_->setObjectName(QStringLiteral("rbRecycle"));
  rbRecycle_->setStatusTip(QStringLiteral("Send removed files to Recycle Bin. Can restore by opening Recycle Bin"));
  rbBackup_ = new QRadioButton(QStringLiteral("Move to holding folder"), group);
  rbBackup_->setObjectName(QStringLiteral("rbBackup"));
  rbDelete_ = new QRadioButton(QStringLiteral("Delete permanently"), group);
  rbDelete_->setObjectName(QStringLiteral("rbDelete"));
  rbDelete_->setStatusTip(QStringLiteral("Delete files permanently. Speed: Fast. Restore: none."));
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->setContentsMargins(8, 2, 8, 4);
  groupLayout->setSpacing(2);
  groupLayout->addWidget(rbRecycle_);
  groupLayout->addWidget(rbBackup_);
  groupLayout->addWidget(rbDelete_);
  rbRecycle_->setChecked(true);

  cbEnabled_ = new QCheckBox(QStringLiteral("&Enable"), page);
  cbEnabled_->setObjectName(QStringLiteral("cbEnabled"));
  cbEnabled_->move(208, 86);
  cbEnabled_->setStatusTip(
      QStringLiteral("Only enabled types will be cleaned up - this corresponds to check box in main form"));
  WatchHints(page);

  connect(ebName_, &QLineEdit::textChanged, this, [this] { EnDisButtons(); });
  // rbBackupClick: a method other than the Recycle Bin can always be enabled.
  connect(rbBackup_, &QRadioButton::clicked, this, [this] { cbEnabled_->setEnabled(true); });
  connect(rbDelete_, &QRadioButton::clicked, this, [this] { cbEnabled_->setEnabled(true); });
  return page;
}

QWidget* TTypeWiz::BuildDirsPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->addWidget(new QLabel(QStringLiteral("Choose folders to search"), page));
  lvDirs_ = new QTreeWidget(page);
  lvDirs_->setObjectName(QStringLiteral("lvDirs"));
  lvDirs_->setRootIsDecorated(false);
  lvDirs_->setColumnCount(2);
  lvDirs_->setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("Selection")});
  lvDirs_->header()->setStretchLastSection(false);
  lvDirs_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lvDirs_->header()->setSectionResizeMode(1, QHeaderView::Fixed);
  lvDirs_->header()->resizeSection(1, 140);
  lvDirs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvDirs_->setStatusTip(QStringLiteral("To change the selected folders, click Change below"));
  layout->addWidget(lvDirs_, 1);

  auto* bar = new QWidget(page);
  bar->setFixedHeight(32);
  btnDirChange_ = MakeButton(bar, "aDirChange", QStringLiteral("Chan&ge"),
                             QStringLiteral("Choose which folders to search using a checkable folder tree"));
  btnDirChange_->move(4, 4);
  btnDirClear_ = MakeButton(bar, "adirClear", QStringLiteral("&Clear"),
                            QStringLiteral("Clear the folder list:search all local fixed disks"));
  btnDirClear_->move(84, 4);
  layout->addWidget(bar);
  WatchHints(bar);

  connect(btnDirChange_, &QPushButton::clicked, this, [this] { adirChangeExecute(); });
  connect(btnDirClear_, &QPushButton::clicked, this, [this] { adirClearExecute(); });
  return page;
}

QWidget* TTypeWiz::BuildListPage(bool deletes) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 4, 0);
  layout->setSpacing(0);
  auto* label = new QLabel(deletes ? QStringLiteral(" Search and process these file specifications")
                                   : QStringLiteral(" Protect files matching these file specifications from deletion"),
                           page);
  layout->addWidget(label);
  auto* middle = new QHBoxLayout;
  auto* column = new QWidget(page);
  column->setFixedWidth(84);
  auto* box = new QListWidget(page);
  box->setObjectName(deletes ? QStringLiteral("lbDels") : QStringLiteral("lbProts"));
  (deletes ? lbDels_ : lbProts_) = box;

  struct Item {
    const char* name;
    const char* caption;
    const char* hint;
  };
  static constexpr Item kDels[] = {
      {"aDelAdd", "&Add", "Add a file specification to be processed"},
      {"aDelEdit", "&Edit", "Edit the selected file specification"},
      {"adelRem", "&Remove", "Remove the selected file specification"},
      {"adelClear", "&Clear", "Clear the list of file specifications"},
  };
  static constexpr Item kProts[] = {
      {"aproAdd", "&Add", "Add a new file specification to be protected"},
      {"aProEdit", "&Edit", "Edit the selected file specification"},
      {"aproRem", "&Remove", "Remove the selected file specification"},
      {"aproClear", "&Clear", "Clear the list of file specifications to be protected"},
  };
  const Item* items = deletes ? kDels : kProts;
  QPushButton** buttons = listButtons_[deletes ? 0 : 1];
  for (int i = 0; i < 4; ++i) {
    buttons[i] = MakeButton(column, items[i].name, QString::fromUtf8(items[i].caption), QString::fromUtf8(items[i].hint));
    buttons[i]->move(4, 9 + 27 * i);
  }
  WatchHints(column);
  connect(buttons[0], &QPushButton::clicked, this, [this, deletes] { ListAdd(deletes); });
  connect(buttons[1], &QPushButton::clicked, this, [this, deletes] { ListEdit(deletes); });
  connect(buttons[2], &QPushButton::clicked, this, [this, deletes] { ListRemove(deletes); });
  connect(buttons[3], &QPushButton::clicked, this, [this, deletes] { ListClear(deletes); });
  connect(box, &QListWidget::currentRowChanged, this, [this] { UpdateListActions(); });
  connect(box, &QListWidget::itemSelectionChanged, this, [this] { UpdateListActions(); });

  middle->addWidget(column);
  middle->addWidget(box, 1);
  layout->addLayout(middle, 1);

  if (deletes) {
    const auto local = setup_.clock.ToLocal(setup_.clock.NowUtc());
    const double today = local ? std::floor(DayNumber(*local)) : 0.0;
    restrict_ = new TRestrictPanel(today, page);
    restrict_->setObjectName(QStringLiteral("RestrictPanel"));
    restrict_->setFixedHeight(113);
    layout->addWidget(restrict_);
    WatchHints(restrict_);
    connect(restrict_, &TRestrictPanel::changed, this, [this] { EnDisButtons(); });
  }
  UpdateListActions();
  return page;
}

QWidget* TTypeWiz::BuildSummaryPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  reProps_ = new QTextEdit(page);
  reProps_->setObjectName(QStringLiteral("reProps"));
  reProps_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reProps_->setReadOnly(true);
  reProps_->installEventFilter(this);  // Enter goes to the default button
  layout->addWidget(reProps_);
  return page;
}

QWidget* TTypeWiz::BuildCountPage() {
  auto* page = new QWidget;
  QFont bold = font();
  bold.setBold(true);
  auto label = [page, &bold](const char* name, int x, int y, bool isBold) {
    auto* l = new QLabel(page);
    l->setObjectName(QString::fromUtf8(name));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(x, y, 420, 20);
    if (isBold) l->setFont(bold);
    return l;
  };
  lblTypCount_ = label("lblTypCount", 16, 16, true);
  lblTypDirs_ = label("lblTypDirs", 32, 48, false);
  lblTypDels_ = label("lblTypDels", 32, 72, false);
  lblTypRes_ = label("lblTypRes", 32, 96, false);
  lblTypProts_ = label("lblTypProts", 32, 120, false);
  lblTypActual_ = label("lblTypActual", 16, 148, true);
  lblTypSize_ = label("lblTypSize", 16, 172, true);
  btnStop_ = MakeButton(page, "btnStop", QStringLiteral("&Stop"),
                        QStringLiteral("Stop counting the files matching this junk file type"));
  btnStop_->move(8, 208);
  btnView_ = MakeButton(page, "btnView", QStringLiteral("&View file list"), QStringLiteral("Display list of found files"));
  btnView_->setGeometry(88, 208, 113, 23);
  btnView_->setEnabled(false);
  connect(btnStop_, &QPushButton::clicked, this, [this] { btnStopClick(); });
  connect(btnView_, &QPushButton::clicked, this, [this] { btnViewClick(); });
  return page;
}

QWidget* TTypeWiz::BuildButtonBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("pnlMain"));
  bar->setFixedHeight(32);
  btnHelp_ = MakeButton(bar, "btnHelp", QStringLiteral("&Help"), QStringLiteral("Activate the Help system"));
  btnBack_ = MakeButton(bar, "btnBack", QStringLiteral("< &Back"), QStringLiteral("Go back to the previous step"));
  btnNext_ = MakeButton(bar, "btnNext", QStringLiteral("Next >"), QStringLiteral("Proceed to the next step"));
  btnFinish_ = MakeButton(bar, "btnFinish", QStringLiteral("&Finish"),
                          QStringLiteral("Quit the wizard and accept this file type"));
  btnCancel_ = MakeButton(bar, "btnCancel", QStringLiteral("Cancel"),
                          QStringLiteral("Quit without adding or editing this junk file type"));
  const int xs[] = {4, 97, 179, 260, 340};
  QPushButton* buttons[] = {btnHelp_, btnBack_, btnNext_, btnFinish_, btnCancel_};
  for (int i = 0; i < 5; ++i) buttons[i]->move(xs[i], 5);
  WatchHints(bar);
  connect(btnHelp_, &QPushButton::clicked, this, [this] { aHelpExecute(); });
  connect(btnBack_, &QPushButton::clicked, this, [this] { aBackExecute(); });
  connect(btnNext_, &QPushButton::clicked, this, [this] { aNextExecute(); });
  connect(btnFinish_, &QPushButton::clicked, this, [this] { accept(); });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { reject(); });
  return bar;
}

}  // namespace vorlo
