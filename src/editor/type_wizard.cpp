#include "editor/type_wizard.h"

#include <QApplication>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "app/texts.h"
#include "core/byte_text.h"
#include "core/day_number.h"
#include "core/local_drives.h"
#include "core/text.h"
#include "gui/description_view.h"
#include "gui/dialog_parts.h"
#include "dialogs/found_form.h"
#include "gui/help.h"
#include "gui/placement.h"
#include "editor/folder_picker.h"
#include "editor/restriction_panel.h"
#include "editor/spec_editors.h"

namespace vorlo {

namespace {

// The wizard's own texts.
constexpr const char* kCaption = "Junk file type wizard";
constexpr const char* kPlacementName = "TypeWiz";
constexpr const char* kDisabledSuffix = " (disabled)";
constexpr const char* kSelectionTexts[] = {"Folder and subfolders", "Folder only", "Subfolders only"};
constexpr const char* kCountingFor = "Counting files for \"%s\"";
constexpr const char* kOneMoment = "One moment please...";
constexpr const char* kFoldersSearched = "%d folder%s searched\r\n";
constexpr const char* kWizWouldProcess = "%d file%s would be processed";
constexpr const char* kWizOccupies = "%s %s %s  of disk space.";
constexpr const char* kListFileFailed = "The list of found files cannot be created: %s (%s)";

constexpr int kRawRole = Qt::UserRole + 1;  // the entry's bytes, never rebuilt from display text

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string C(std::string_view s) { return std::string(s); }

std::string RawOf(const QTreeWidgetItem& row) { return row.data(0, kRawRole).toByteArray().toStdString(); }
std::string RawOf(const QListWidgetItem& line) { return line.data(kRawRole).toByteArray().toStdString(); }

QListWidgetItem* MakeLine(const std::string& s) {
  auto* line = new QListWidgetItem(Q(s));
  line->setData(kRawRole, QByteArray(s.data(), static_cast<qsizetype>(s.size())));
  return line;
}

// 16 x 16: a box, ticked when the folder's own files are searched, and a
// folder, green when subfolders are searched.
QIcon ModeIcon(FolderRule mode) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(0, 4, 7, 7);
  if (mode != FolderRule::pSubOnly) {
    p.drawLine(1, 7, 3, 9);
    p.drawLine(3, 9, 6, 5);
  }
  p.setBrush(mode == FolderRule::pFolOnly ? QColor(200, 30, 30) : QColor(30, 160, 30));
  p.drawRect(9, 5, 6, 6);
  p.drawRect(9, 3, 3, 2);
  return QIcon(pm);
}

}  // namespace

TTypeWiz::TTypeWiz(WizardSetup setup, QWidget* parent)
    : QDialog(parent),
      setup_(std::move(setup)),
      context_{mainThread_, setup_.clock, setup_.drives, setup_.skipFolders, nullptr},
      StopEvent_(C(texts::kStopEventName)) {
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
  ShowPage(nbpgName);
  GetPosFmINI(*this, kPlacementName, true, setup_.iniPath);
  nameforAll_ = setup_.drives.NameForAll();
  TmpName_ = setup_.dataFolder + kFoundListName;
  btnNext_->setDefault(true);
  btnFinish_->setEnabled(false);
}

TTypeWiz::~TTypeWiz() {
  // The scan uses theObj_, the stop event, the context and the list file:
  // stop it and let its end notification run before any of them go.
  closeAfterCount_ = false;
  if (counting_) {
    StopEvent_.Set();
    while (counting_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  SetPosToINI(*this, kPlacementName, true, setup_.iniPath);
  std::remove(TmpName_.c_str());
}

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
  panel->installEventFilter(this);
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

// Pages and buttons.

int TTypeWiz::CurrentPage() const { return Notebook1_->currentIndex(); }

void TTypeWiz::ShowPage(int index) {
  Notebook1_->setCurrentIndex(index);
  Notebook1PageChanged();
}

void TTypeWiz::aNextExecute() {
  if (CurrentPage() != nbPgTotl) ShowPage(CurrentPage() + 1);
}

void TTypeWiz::aBackExecute() {
  if (CurrentPage() != nbpgName) ShowPage(CurrentPage() - 1);
}

void TTypeWiz::Notebook1PageChanged() {
  EnDisButtons();
  UpdateListActions();
  if (CurrentPage() == nbpgSumm) EnterSummary();
  if (CurrentPage() == nbPgTotl) EnterCounts();
}

void TTypeWiz::EnDisButtons() {
  if (!btnNext_) return;  // still building
  const int page = CurrentPage();
  const bool named = !ebName_->text().isEmpty();
  const bool dels = lbDels_->count() > 0;
  const bool restrictOk = restrict_->OkRestrictions();
  btnBack_->setEnabled(page != nbpgName && page != nbPgTotl);
  btnFinish_->setEnabled(named && restrictOk && dels && page != nbPgTotl);
  bool next = page != nbPgTotl;
  if (page == nbpgName) next = next && named;
  if (page == nbpgDels) next = next && dels && restrictOk;
  btnNext_->setEnabled(next);
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

void TTypeWiz::aHelpExecute() { OpenHelpTopic(CurrentPage() + 3); }

bool TTypeWiz::IsLocalDrives(const QTreeWidgetItem& row) { return StartsWith(RawOf(row), kLocalDrivesPrefix); }

// Hints.

bool TTypeWiz::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    statusBar_->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
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
  if (e->type() == QEvent::MouseMove) {
    if (auto* panel = qobject_cast<QWidget*>(watched); panel && panel != reProps_)
      pnlMainMouseMove(panel, static_cast<QMouseEvent*>(e)->position().toPoint());
  }
  return QDialog::eventFilter(watched, e);
}

// A disabled control hands its mouse moves to its panel, so the panel shows
// the control's hint for it. Over an enabled control the control's own hint
// stands.
void TTypeWiz::pnlMainMouseMove(QWidget* panel, const QPoint& pos) {
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

void TTypeWiz::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  ebName_->setFocus();
}

// Directories page.

void TTypeWiz::AddDirRow(const std::string& caption, FolderRule mode, bool withSelection) {
  auto* row = new QTreeWidgetItem(lvDirs_);
  row->setText(0, Q(caption));
  row->setData(0, kRawRole, QByteArray(caption.data(), static_cast<qsizetype>(caption.size())));
  // Kept as stored, so that an unknown rule is saved back unchanged.
  const auto code = static_cast<int32_t>(mode);
  row->setData(0, Qt::UserRole, code);
  if (withSelection && code >= 0 && code <= 2) {
    row->setIcon(0, ModeIcon(mode));
    row->setText(1, QString::fromUtf8(kSelectionTexts[code]));
  }
}

void TTypeWiz::adirClearExecute() {
  lvDirs_->clear();
  AddDirRow(nameforAll_, FolderRule::pFolAndSub, false);
  UpdateListActions();
}

void TTypeWiz::adirChangeExecute() {
  TNewPickForm picker(setup_.drives.Roots(), nameforAll_, setup_.iniPath, this);
  if (picker.exec() != QDialog::Accepted) return;
  FolderList entries;
  picker.SaveToList(entries);
  lvDirs_->clear();
  for (const FolderEntry& e : entries) AddDirRow(e.path, e.rule, true);
  UpdateListActions();
}

// Deletes and Protects lists.

void TTypeWiz::ListAdd(bool deletes) {
  QListWidget* box = deletes ? lbDels_ : lbProts_;
  std::optional<std::string> spec;
  if (deletes) {
    TSpecForm form(setup_.iniPath, this);
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  } else {
    TNameForm form(setup_.iniPath, this);
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  }
  if (spec) box->addItem(MakeLine(*spec));
  EnDisButtons();
  UpdateListActions();
}

void TTypeWiz::ListEdit(bool deletes) {
  QListWidget* box = deletes ? lbDels_ : lbProts_;
  QListWidgetItem* line = box->currentItem();
  if (!line) return;
  std::optional<std::string> spec;
  if (deletes) {
    TSpecForm form(setup_.iniPath, this);
    form.SetSpec(RawOf(*line));
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  } else {
    TNameForm form(setup_.iniPath, this);
    form.SetSpec(RawOf(*line));
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  }
  if (spec) {
    line->setText(Q(*spec));
    line->setData(kRawRole, QByteArray(spec->data(), static_cast<qsizetype>(spec->size())));
  }
  EnDisButtons();
  UpdateListActions();
}

void TTypeWiz::ListRemove(bool deletes) {
  QListWidget* box = deletes ? lbDels_ : lbProts_;
  const int i = box->currentRow();
  if (i < 0) return;
  delete box->takeItem(i);
  if (box->count() > 0)
    box->setCurrentRow(std::min(i, box->count() - 1));
  else
    box->setCurrentRow(-1);
  EnDisButtons();
  UpdateListActions();
}

void TTypeWiz::ListClear(bool deletes) {
  (deletes ? lbDels_ : lbProts_)->clear();
  EnDisButtons();
  UpdateListActions();
}

// Loading and building the junk type.

void TTypeWiz::SetFromObj(const TJunkFileObj& TJ, bool BinHasProb) {
  if (BinHasProb) {
    rbRecycle_->setEnabled(false);
    cbEnabled_->setEnabled(!rbRecycle_->isChecked());
  }
  // A stored name longer than the limit is kept whole; it only cannot grow.
  ebName_->setMaxLength(std::max<int>(32, static_cast<int>(Q(TJ.TypName()).size())));
  ebName_->setText(Q(TJ.TypName()));
  loadedName_ = TJ.TypName();
  cbEnabled_->setChecked(TJ.IsChecked());
  if (TJ.Backtype() == CleanupMethod::cuHolding) {
    rbBackup_->setChecked(true);
    cbEnabled_->setEnabled(true);
  } else if (TJ.Backtype() == CleanupMethod::cuDelete) {
    rbDelete_->setChecked(true);
    cbEnabled_->setEnabled(true);
  } else {
    rbRecycle_->setChecked(true);
  }
  lvDirs_->clear();
  for (const FolderEntry& e : TJ.Dirs()) {
    const auto first = e.path.find_first_not_of(" \t");
    if (first == std::string::npos) continue;  // blank entries are dropped
    AddDirRow(e.path, e.rule, true);
  }
  lbDels_->clear();
  for (const std::string& s : TJ.Deletes()) lbDels_->addItem(MakeLine(s));
  lbProts_->clear();
  for (const std::string& s : TJ.Prots()) lbProts_->addItem(MakeLine(s));
  restrict_->LoadFrom(TJ);
  Notebook1PageChanged();
  if (lvDirs_->topLevelItemCount() == 0) AddDirRow(nameforAll_, FolderRule::pFolAndSub, false);
  UpdateListActions();
}

const TJunkFileObj& TTypeWiz::GetFromObj() {
  if (theObj_ && (CurrentPage() == nbpgSumm || CurrentPage() == nbPgTotl)) return *theObj_;
  theObj_.reset();
  FolderList dirs;
  const int rows = lvDirs_->topLevelItemCount();
  if (!(rows == 1 && IsLocalDrives(*lvDirs_->topLevelItem(0)))) {
    for (int i = 0; i < rows; ++i) {
      const QTreeWidgetItem& row = *lvDirs_->topLevelItem(i);
      dirs.push_back({RawOf(row), FolderRule{row.data(0, Qt::UserRole).toInt()}});
    }
  }
  const CleanupMethod method = rbRecycle_->isChecked()  ? CleanupMethod::cuRecycle
                               : rbDelete_->isChecked() ? CleanupMethod::cuDelete
                                                        : CleanupMethod::cuHolding;
  SpecList deletes, prots;
  for (int i = 0; i < lbDels_->count(); ++i) deletes.push_back(RawOf(*lbDels_->item(i)));
  for (int i = 0; i < lbProts_->count(); ++i) prots.push_back(RawOf(*lbProts_->item(i)));
  const RestrictionValues r = restrict_->Store();
  // An unchanged name keeps its bytes, even those the edit cannot show.
  std::string name = ebName_->text().toStdString();
  if (ebName_->text() == Q(loadedName_)) name = loadedName_;
  theObj_.emplace(std::move(name), cbEnabled_->isChecked(), method, dirs, deletes, prots, r.date, r.age, r.size);
  return *theObj_;
}

// Summary and Counts pages.

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
  lblTypCount_->setText(Q(FormatText(kCountingFor, tj.TypName().c_str())));
  lblTypDirs_->setText(QString::fromUtf8(kOneMoment));
  for (QLabel* l : {lblTypDels_, lblTypRes_, lblTypProts_, lblTypActual_, lblTypSize_}) l->clear();
  StopEvent_.Reset();
  StartCount();
}

void TTypeWiz::StartCount() {
  {
    std::lock_guard lock(tmpFileLock_);
    TmpFile_ = std::fopen(TmpName_.c_str(), "wb");
  }
  if (!TmpFile_) {
    // Without its list the count cannot start; the wizard stays usable.
    const int err = errno;
    lblTypDirs_->setText(Q(FormatText(kListFileFailed, TmpName_.c_str(), std::strerror(err))));
    if (busyCursor_) {
      QApplication::restoreOverrideCursor();
      busyCursor_ = false;
    }
    btnStop_->setEnabled(false);
    btnFinish_->setEnabled(true);
    btnNext_->setEnabled(false);
    btnBack_->setEnabled(true);
    btnCancel_->setEnabled(true);
    return;
  }
  counting_ = true;
  ActOnFiles(
      *theObj_, [this](const std::string& S, int64_t) { OneFile(S); },
      [this](int64_t SizDel, int32_t NumDir, int32_t NumDel, int32_t NumRes, int32_t NumProt) {
        ReptCounting(SizDel, NumDir, NumDel, NumRes, NumProt);
      },
      [this](TJunkDelThread& thread) { DoneCounting(thread); }, StopEvent_, setup_.programFolder, context_);
}

// Runs on the scan thread: the file is the only thing it touches.
void TTypeWiz::OneFile(const std::string& FileName) {
  std::lock_guard lock(tmpFileLock_);
  if (!TmpFile_) return;
  std::fwrite(FileName.data(), 1, FileName.size(), TmpFile_);
  std::fwrite("\r\n", 1, 2, TmpFile_);
}

void TTypeWiz::ReptCounting(int64_t SizDel, int32_t NumDir, int32_t NumDel, int32_t NumRes, int32_t NumProt) {
  const auto one = [](int64_t n) { return n == 1 ? 1 : 0; };
  lblTypDirs_->setText(Q(FormatText(kFoldersSearched, NumDir, C(texts::t1[one(NumDir)]).c_str())));
  if (NumDel == 0) {
    lblTypDels_->setText(Q(texts::kNoMatches));
    return;
  }
  lblTypDels_->setText(Q(FormatText(texts::kMatched, NumDel, C(texts::t2[one(NumDel)]).c_str())));
  lblTypRes_->setText(Q(FormatText(texts::kRestricted, NumRes, C(texts::t2[one(NumRes)]).c_str())));
  lblTypProts_->setText(Q(FormatText(texts::kProtected, NumProt, C(texts::t1[one(NumProt)]).c_str())));
  const int64_t n = std::max<int64_t>(0, int64_t{NumDel} - NumRes - NumProt);
  lblTypActual_->setText(Q(FormatText(kWizWouldProcess, static_cast<int>(n), C(texts::t2[one(n)]).c_str())));
  btnView_->setEnabled(n > 0);
  if (n > 0) {
    if (SizDel == 0)
      lblTypSize_->setText(
          Q(FormatText(texts::kNoSpace, C(texts::t3[one(n)]).c_str(), C(texts::t4[one(n)]).c_str())));
    else
      lblTypSize_->setText(Q(FormatText(kWizOccupies, C(texts::t3[one(n)]).c_str(), C(texts::t5[one(n)]).c_str(),
                                        StringForBytes(SizDel, setup_.separators).c_str())));
  }
}

void TTypeWiz::DoneCounting(TJunkDelThread& Thread) {
  if (Thread.WasStopped()) {
    lblTypCount_->setText(Q(texts::kStoppedByUser));
    lblTypDirs_->clear();
  }
  {
    std::lock_guard lock(tmpFileLock_);
    if (TmpFile_) std::fclose(TmpFile_);
    TmpFile_ = nullptr;
  }
  StopEvent_.Reset();
  if (busyCursor_) {
    QApplication::restoreOverrideCursor();
    busyCursor_ = false;
  }
  btnFinish_->setEnabled(true);
  btnNext_->setEnabled(false);
  btnBack_->setEnabled(true);
  btnCancel_->setEnabled(true);
  btnStop_->setEnabled(false);
  counting_ = false;
  if (closeAfterCount_) {
    closeAfterCount_ = false;
    QDialog::reject();
  }
}

void TTypeWiz::btnStopClick() {
  StopEvent_.Set();
  btnStop_->setEnabled(false);
}

void TTypeWiz::btnViewClick() {
  ShowFoundFiles(this, setup_.iniPath, TmpName_, ebName_->text().toStdString());
}

void TTypeWiz::reject() {
  if (counting_) {
    btnStopClick();
    closeAfterCount_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace vorlo
