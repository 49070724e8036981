#include "editor/folder_picker.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"
#include "editor/editor_texts.h"
#include "gui/dialog_parts.h"
#include "gui/display_text.h"
#include "gui/placement.h"
#include "editor/folder_probe.h"
#include "editor/folder_tree.h"
#include "editor/picker_legend.h"
#include "editor/picker_pictures.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "NewPickForm";
constexpr const char* kCaption = "Vorlo - Choose folders to search";

constexpr const char* kAllSubsCaption = "&ALL subfolders";
constexpr const char* kAllSubsHint = "Search all subfolders that exist now and any created later";
constexpr const char* kNoSubsCaption = "&NO subfolders";
constexpr const char* kNoSubsHint = "Search no subfolders, whether existing now or created later";
constexpr const char* kExistSubsCaption = "&Listed subfolders";
constexpr const char* kExistSubsHint = "Search all subfolders that exist now, but not any created later";
constexpr const char* kFolderCaption = "Select &Folder";
constexpr const char* kFolderHint = "Check to search the folder itself";
constexpr const char* kLegendCaption = "Le&gend";
constexpr const char* kLegendHint = "Display a legend for the folder icons";
constexpr const char* kOKCaption = "OK";
constexpr const char* kOKHint = "Close this form and accept changes";
constexpr const char* kCancelCaption = "Cancel";
constexpr const char* kCancelHint = "Close this form without accepting changes";


}  // namespace

TNewPickForm::TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll,
                           PlacementStore& placements, const FolderList& start, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      placements_(placements),
      imDirSel(std::make_unique<TDirSelImages>()),
      Choice(std::move(nameForAll)) {
  for (std::string& r : driveRoots) {
    const bool any = AnySubdirs(r);
    Choice.AddDrive(std::move(r), any);
  }
  FormCreate();
  // A type's own folders, and nothing else, so that OK keeps them.
  if (start.empty()) return;
  Choice.ChooseNothing();
  QTreeWidgetItem* first = nullptr;
  for (const FolderEntry& e : start) {
    QTreeWidgetItem* item = ShowFolder(e.path, e.rule);
    if (first == nullptr) first = item;
  }
  tvDirSel->setCurrentItem(first);
  AfterChange();
}

TNewPickForm::~TNewPickForm() = default;

void TNewPickForm::done(int r) {
  placements_.SetPosToINI(*this, kWindowName, true);
  MyLegend->SavePlacement();
  QDialog::done(r);
}

void TNewPickForm::FormCreate() {
  SetUpWindow(*this, kWindowName, kCaption);

  auto makeAction = [this](const char* name, const char* caption, const char* hint, int picture) {
    auto* a = new QAction(DisplayText(caption), this);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(DisplayText(hint));
    a->setStatusTip(DisplayText(hint));
    if (picture >= 0) a->setIcon(QIcon(imDirSel->Picture(picture)));
    addAction(a);
    return a;
  };
  aAllSubs = makeAction("aAllSubs", kAllSubsCaption, kAllSubsHint, cSubChkP);
  aNoSubs = makeAction("aNoSubs", kNoSubsCaption, kNoSubsHint, cSubNotP);
  aExistSubs = makeAction("aExistSubs", kExistSubsCaption, kExistSubsHint, cSubChek);
  aFolder = makeAction("aFolder", kFolderCaption, kFolderHint, -1);
  aFolder->setCheckable(true);
  aFolder->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F));
  aLegend = makeAction("aLegend", kLegendCaption, kLegendHint, -1);
  aLegend->setCheckable(true);
  connect(aFolder, &QAction::triggered, this, &TNewPickForm::aFolderExecute);
  connect(aAllSubs, &QAction::triggered, this, &TNewPickForm::aAllSubsExecute);
  connect(aNoSubs, &QAction::triggered, this, &TNewPickForm::aNoSubsExecute);
  connect(aExistSubs, &QAction::triggered, this, &TNewPickForm::aExistSubsExecute);
  connect(aLegend, &QAction::triggered, this, &TNewPickForm::aLegendExecute);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  pnlFullPath = new QLabel(this);
  pnlFullPath->setObjectName(QStringLiteral("pnlFullPath"));
  pnlFullPath->setFixedHeight(20);
  pnlFullPath->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlFullPath->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pnlFullPath->setTextFormat(Qt::PlainText);
  layout->addWidget(pnlFullPath);

  layout->addWidget(BuildPathRow());

  tvDirSel = new TDirTree(Choice, *imDirSel, this);
  layout->addWidget(tvDirSel, 1);

  pmDirSel = new QMenu(this);
  pmDirSel->setObjectName(QStringLiteral("pmDirSel"));
  pmDirSel->addAction(aFolder);
  pmDirSel->addSeparator();
  pmDirSel->addAction(aAllSubs);
  pmDirSel->addAction(aNoSubs);
  pmDirSel->addAction(aExistSubs);
  pmDirSel->addSeparator();
  pmDirSel->addAction(aLegend);

  // Button panel: the subfolder commands on the left, OK/Cancel/Legend in a
  // column on the right.
  auto* panel = new QWidget(this);
  panel->setFixedHeight(78);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  auto* left = new QWidget(panel);
  left->setFixedWidth(139);
  auto* right = new QWidget(panel);
  right->setFixedWidth(82);
  panelLayout->addWidget(left);
  panelLayout->addStretch(1);
  panelLayout->addWidget(right);
  layout->addWidget(panel);

  // A button that runs an action and follows its enabled state.
  auto bind = [this](QPushButton* button, QAction* action) {
    button->setToolTip(action->toolTip());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
  };
  const int rows[] = {3, 28, 53};
  QAction* subActions[] = {aAllSubs, aNoSubs, aExistSubs};
  const char* subNames[] = {"btnAllSubs", "btnNoSubs", "btnExistSubs"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(subActions[i]->icon(), subActions[i]->text(), left);
    b->setObjectName(QString::fromLatin1(subNames[i]));
    b->setGeometry(2, rows[i], 135, 23);
    b->setAutoDefault(false);
    bind(b, subActions[i]);
  }
  btnOK = new QPushButton(DisplayText(kOKCaption), right);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(3, rows[0], 75, 23);
  btnOK->setToolTip(DisplayText(kOKHint));
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  auto* btnCancel = new QPushButton(DisplayText(kCancelCaption), right);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(3, rows[1], 75, 23);
  btnCancel->setToolTip(DisplayText(kCancelHint));
  btnCancel->setAutoDefault(false);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* btnLegend = new QPushButton(aLegend->text(), right);
  btnLegend->setObjectName(QStringLiteral("btnLegend"));
  btnLegend->setGeometry(3, rows[2], 75, 23);
  btnLegend->setAutoDefault(false);
  bind(btnLegend, aLegend);

  // Never smaller than 320 by 240 outside, so the tree shows enough rows;
  // it opens taller by the path field's height.
  setMinimumSize(320, 240);
  resize(320, 240 + 50);
  placements_.GetPosFmINI(*this, kWindowName, true);

  MyLegend = new TLegendForm(*imDirSel, placements_, this);
  MyLegend->hide();
  connect(MyLegend, &TLegendForm::VisibilityChanged, this, &TNewPickForm::aAllSubsUpdate);

  connect(tvDirSel, &TDirTree::ChildrenLoaded, this, &TNewPickForm::aAllSubsUpdate);
  connect(tvDirSel, &TDirTree::FolderToggled, this, &TNewPickForm::ToggleFolder);
  connect(tvDirSel, &TDirTree::PopupRequested, this, &TNewPickForm::ShowPopup);
  connect(tvDirSel, &QTreeWidget::itemSelectionChanged, this, &TNewPickForm::tvDirSelChange);

  tvDirSel->setFocus();
  AfterChange();
}

// The path field below the path panel, and under it the rule and "Add".
QWidget* TNewPickForm::BuildPathRow() {
  auto* rows = new QWidget(this);
  auto* grid = new QGridLayout(rows);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(2);
  ebPath = new QLineEdit(rows);
  ebPath->setObjectName(QStringLiteral("ebPath"));
  ebPath->setPlaceholderText(DisplayText(texts::kPathPlaceholder));
  ebPath->setToolTip(DisplayText(texts::kPathHint));
  ebPath->installEventFilter(this);  // Enter adds the folder rather than closing the picker
  cbPathRule = new QComboBox(rows);
  cbPathRule->setObjectName(QStringLiteral("cbPathRule"));
  cbPathRule->setToolTip(DisplayText(texts::kPathRuleHint));
  for (int rule = 0; rule < 3; ++rule) cbPathRule->addItem(DisplayText(texts::kSelectionTexts[rule]), rule);
  auto* btnAddPath = new QPushButton(DisplayText(texts::kAddPathCaption), rows);
  btnAddPath->setObjectName(QStringLiteral("btnAddPath"));
  btnAddPath->setToolTip(DisplayText(texts::kAddPathHint));
  btnAddPath->setAutoDefault(false);
  btnAddPath->setFixedSize(75, 23);
  connect(btnAddPath, &QPushButton::clicked, this, &TNewPickForm::AddTypedFolder);
  grid->addWidget(ebPath, 0, 0, 1, 3);
  grid->addWidget(cbPathRule, 1, 0);
  grid->setColumnStretch(1, 1);
  grid->addWidget(btnAddPath, 1, 2);
  return rows;
}

bool TNewPickForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ebPath && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      AddTypedFolder();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TNewPickForm::AddTypedFolder() {
  const QByteArray typed = ebPath->text().toUtf8();
  std::string path(typed.constData(), static_cast<size_t>(typed.size()));
  std::string refused;
  if (!path.starts_with('/'))
    refused = texts::kPathNotFull;
  else if (!FolderExists(path))
    refused = FormatText(FileExists(path) ? texts::kPathNotFolder : texts::kPathMissing, path.c_str());
  if (!refused.empty()) {
    pnlFullPath->setText(QStringLiteral(" ") + DisplayText(refused));
    return;
  }
  if (!path.ends_with('/')) path += '/';
  // Adding one folder to every drive would change nothing.
  if (GetSub(TreeRoot()) == cSubChkP) Choice.ChooseNothing();
  QTreeWidgetItem* item = ShowFolder(path, FolderRule{cbPathRule->currentData().toInt()});
  tvDirSel->setCurrentItem(item);
  tvDirSel->scrollToItem(item);
  ebPath->clear();
  AfterChange();
}

QTreeWidgetItem* TNewPickForm::ShowFolder(const std::string& text, FolderRule rule) {
  const bool any = AnySubdirs(text);
  return tvDirSel->TopItem(Choice.AddFolder(text, rule, any));
}

// Node helpers.

QTreeWidgetItem* TNewPickForm::TreeRoot() const { return tvDirSel->TreeRoot(); }

int TNewPickForm::GetSub(const QTreeWidgetItem* Node) const { return TDirTree::Node(Node).sub; }

bool TNewPickForm::FolChecked(const QTreeWidgetItem* Node) const {
  return TFolderChoice::FolChecked(TDirTree::Node(Node));
}

bool TNewPickForm::HasChildren(const QTreeWidgetItem* Node) const { return TDirTree::Node(Node).hasChildren; }

std::string TNewPickForm::FullPath(const QTreeWidgetItem* Node) const {
  return TFolderChoice::FullPath(TDirTree::Node(Node));
}

QRect TNewPickForm::CheckBoxRect(const QTreeWidgetItem* Node) const { return tvDirSel->CheckBoxRect(Node); }

QTreeWidgetItem* TNewPickForm::Selected() const { return tvDirSel->Selected(); }

// Tree events.

void TNewPickForm::tvDirSelChange() {
  const QTreeWidgetItem* node = Selected();
  pnlFullPath->setText(node != nullptr ? QStringLiteral(" ") + DisplayText(FullPath(node)) : QString());
  aAllSubsUpdate();
}

void TNewPickForm::ToggleFolder(QTreeWidgetItem* Node) {
  if (Choice.SetFolAndAdjust(TDirTree::Node(Node), -1)) AfterChange();
}

void TNewPickForm::ShowPopup(const QPoint& globalPos) {
  aAllSubsUpdate();
  pmDirSel->popup(globalPos);
}

// Enabling.

void TNewPickForm::aAllSubsUpdate() {
  aLegend->setChecked(MyLegend != nullptr && MyLegend->isVisible());
  const QTreeWidgetItem* node = Selected();
  if (node == nullptr) {
    aFolder->setChecked(false);
    aFolder->setEnabled(false);
    aAllSubs->setEnabled(false);
    aNoSubs->setEnabled(false);
    aExistSubs->setEnabled(false);
  } else if (node == TreeRoot()) {
    aFolder->setEnabled(false);
    aFolder->setChecked(false);
    aAllSubs->setEnabled(true);
    aNoSubs->setEnabled(true);
    aExistSubs->setEnabled(true);
  } else {
    const bool has = HasChildren(node);
    aFolder->setEnabled(true);
    aFolder->setChecked(FolChecked(node));
    aAllSubs->setEnabled(has || GetSub(node->parent()) != cSubChkP);
    aNoSubs->setEnabled(has);
    aExistSubs->setEnabled(true);
  }
}

// Commands.

void TNewPickForm::aFolderExecute() {
  if (QTreeWidgetItem* node = Selected()) ToggleFolder(node);
  aAllSubsUpdate();  // the action toggled its own check mark
}

void TNewPickForm::aAllSubsExecute() { SetSubAndAdjust(cSubChkP); }

void TNewPickForm::aNoSubsExecute() { SetSubAndAdjust(cSubNotP); }

void TNewPickForm::SetSubAndAdjust(int Sub) {
  QTreeWidgetItem* node = Selected();
  if (node != nullptr && Choice.SetSubAndAdjust(TDirTree::Node(node), Sub)) AfterChange();
}

void TNewPickForm::aExistSubsExecute() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr) return;
  tvDirSel->tvDirSelExpanding(node);
  node->setExpanded(true);
  Choice.SetExistSubs(TDirTree::Node(node));
  AfterChange();
}

void TNewPickForm::aLegendExecute() {
  // The legend is made a stay-on-top tool window when created, so showing
  // it is all that is left to do.
  MyLegend->setVisible(!MyLegend->isVisible());
  aAllSubsUpdate();
}

void TNewPickForm::AfterChange() {
  tvDirSel->viewport()->update();
  btnOK->setEnabled(GetSub(TreeRoot()) != cSubNotP);
  aAllSubsUpdate();
}

}  // namespace vorlo
