#include "editor/folder_picker.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "gui/dialog_parts.h"
#include "gui/display_text.h"
#include "gui/placement.h"
#include "editor/picker_legend.h"
#include "editor/picker_pictures.h"
#include "platform/dir_listing.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "NewPickForm";
constexpr const char* kCaption = "Vorlo - Choose folders to search";
constexpr const char* kRootText = "Local Drives";

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

QString Q(const char* text) { return QString::fromUtf8(text); }

// Where a folder is opened: without the trailing "/", which would make the
// kernel follow a link in the last component.
std::string OpenablePath(std::string path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A sub-folder the tree shows: a real folder (links are never followed),
// not hidden, and on the same mount (another mount is another drive, or not
// a local one at all). When its identity cannot be read it is shown.
bool Shown(const DirListing& folder, const DirEntries& entries, size_t i, const std::optional<MountKey>& mount) {
  if (entries.Kind(i) != EntryKind::Folder || entries.Name(i).empty() || entries.Hidden(i)) return false;
  if (!mount) return true;
  const std::optional<FolderId> id = folder.SubfolderId(entries.CName(i));
  return !id || id->mount == *mount;
}

bool AnySubdirsIn(DirListing& folder, const std::optional<MountKey>& mount, DirEntries& scratch) {
  if (!folder.IsOpen()) return false;
  folder.Read(scratch);  // what could be read counts
  for (size_t i = 0; i < scratch.size(); ++i)
    if (Shown(folder, scratch, i, mount)) return true;
  return false;
}

}  // namespace

// A node's states live in the item; its picture is worked out when the view
// paints, so carrying a choice over many nodes is only field writes.
class TDirNode final : public QTreeWidgetItem {
 public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;
  TDirNode() : QTreeWidgetItem(kType) {}

  QVariant data(int column, int role) const override;

  void SetHasChildren(bool v) {
    hasChildren = v;
    setChildIndicatorPolicy(v ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
  }

  std::string name;  // a drive's mount point, or a folder's name (bytes)
  int sub = cSubChkP;
  int fol = -1;      // cFolderY, cFolderN, or -1 for the root
  bool hasChildren = false;
  bool loaded = false;
};

namespace {

TDirNode* N(QTreeWidgetItem* item) { return static_cast<TDirNode*>(item); }
const TDirNode* N(const QTreeWidgetItem* item) { return static_cast<const TDirNode*>(item); }

// Tells where the style puts an item's picture, so a click can be placed on
// the check box half of it.
class TDirDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QRect DecorationRect(QStyleOptionViewItem option, const QModelIndex& index) const {
    initStyleOption(&option, index);
    const QWidget* w = option.widget;
    const QStyle* style = w != nullptr ? w->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, w);
  }
};

}  // namespace

class TDirTree final : public QTreeWidget {
 public:
  TDirTree(TNewPickForm& form, const TDirSelImages& images) : QTreeWidget(&form), form_(form), images_(images) {
    delegate_ = new TDirDelegate(this);
    setItemDelegate(delegate_);
    viewport()->setMouseTracking(true);
  }

  const TDirSelImages& Images() const { return images_; }

  QRect CheckBoxRect(const QTreeWidgetItem* item) const {
    if (item == nullptr || item->parent() == nullptr) return {};
    const QModelIndex index = indexFromItem(item);
    const QRect rect = visualRect(index);
    if (!rect.isValid()) return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = rect;
    const QRect dec = delegate_->DecorationRect(option, index);
    const QSize box = TDirSelImages::kPictureSize;
    return {dec.left(), dec.top() + (dec.height() - box.height()) / 2, box.width(), box.height()};
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    // "*" would expand every level below, listing whole drives.
    if (e->key() == Qt::Key_Asterisk) return e->accept();
    if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
      form_.tvDirSelKeyPress();
      return e->accept();
    }
    QTreeWidget::keyPressEvent(e);
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    form_.OverCkBox = OnCheckBox(e->position().toPoint());
    QTreeWidget::mouseMoveEvent(e);
  }

  void mousePressEvent(QMouseEvent* e) override {
    const QPoint pos = e->position().toPoint();
    form_.OverCkBox = OnCheckBox(pos);
    if (e->button() == Qt::RightButton) {
      QTreeWidgetItem* item = itemAt(pos);
      setCurrentItem(item);
      if (item == nullptr) clearSelection();
      return e->accept();
    }
    if (e->button() == Qt::LeftButton && form_.OverCkBox) {
      QTreeWidgetItem* item = itemAt(pos);
      setCurrentItem(item);
      form_.SetFolAndAdjust(item, -1);
      return e->accept();
    }
    QTreeWidget::mousePressEvent(e);
  }

  // A quick second click on a check box toggles it again rather than
  // expanding the node.
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && OnCheckBox(e->position().toPoint())) return mousePressEvent(e);
    QTreeWidget::mouseDoubleClickEvent(e);
  }

  void contextMenuEvent(QContextMenuEvent* e) override {
    form_.ShowPopup(e->globalPos());
    e->accept();
  }

 private:
  bool OnCheckBox(QPoint pos) const {
    const QTreeWidgetItem* item = itemAt(pos);
    return item != nullptr && CheckBoxRect(item).contains(pos);
  }

  TNewPickForm& form_;
  const TDirSelImages& images_;
  TDirDelegate* delegate_ = nullptr;
};

QVariant TDirNode::data(int column, int role) const {
  if (column == 0 && role == Qt::DecorationRole) {
    if (const auto* tree = static_cast<const TDirTree*>(treeWidget())) return tree->Images().NodeIcon(sub, fol);
    return {};
  }
  return QTreeWidgetItem::data(column, role);
}

TNewPickForm::TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll, std::string iniPath,
                           QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      driveRoots_(std::move(driveRoots)),
      NameForAll(std::move(nameForAll)),
      iniPath_(std::move(iniPath)),
      imDirSel(std::make_unique<TDirSelImages>()) {
  FormCreate();
}

TNewPickForm::~TNewPickForm() { SetPosToINI(*this, kWindowName, true, iniPath_); }

void TNewPickForm::FormCreate() {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(Q(kCaption));
  SetWindowFont(*this);

  auto makeAction = [this](const char* name, const char* caption, const char* hint, int picture) {
    auto* a = new QAction(Q(caption), this);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(Q(hint));
    a->setStatusTip(Q(hint));
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

  tvDirSel = new TDirTree(*this, *imDirSel);
  tvDirSel->setObjectName(QStringLiteral("tvDirSel"));
  tvDirSel->setHeaderHidden(true);
  tvDirSel->setIndentation(19);
  tvDirSel->setRootIsDecorated(false);
  tvDirSel->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvDirSel->setSelectionMode(QAbstractItemView::SingleSelection);
  tvDirSel->setIconSize(TDirSelImages::kNodeIconSize);
  tvDirSel->setUniformRowHeights(true);  // keeps a folder of 100,000 sub-folders quick
  tvDirSel->setLineWidth(2);
  tvDirSel->setContextMenuPolicy(Qt::DefaultContextMenu);
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
  btnOK = new QPushButton(Q(kOKCaption), right);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(3, rows[0], 75, 23);
  btnOK->setToolTip(Q(kOKHint));
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  auto* btnCancel = new QPushButton(Q(kCancelCaption), right);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(3, rows[1], 75, 23);
  btnCancel->setToolTip(Q(kCancelHint));
  btnCancel->setAutoDefault(false);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* btnLegend = new QPushButton(aLegend->text(), right);
  btnLegend->setObjectName(QStringLiteral("btnLegend"));
  btnLegend->setGeometry(3, rows[2], 75, 23);
  btnLegend->setAutoDefault(false);
  bind(btnLegend, aLegend);

  setMinimumSize(304, 201);
  resize(304, 201);
  GetPosFmINI(*this, kWindowName, true, iniPath_);

  MyLegend = new TLegendForm(*imDirSel, iniPath_, this);
  MyLegend->hide();
  connect(MyLegend, &TLegendForm::VisibilityChanged, this, &TNewPickForm::aAllSubsUpdate);

  auto* root = new TDirNode;
  root->setText(0, Q(kRootText));
  root->loaded = true;
  root->SetHasChildren(!driveRoots_.empty());
  tvDirSel->addTopLevelItem(root);
  QList<QTreeWidgetItem*> drives;
  for (const std::string& r : driveRoots_) {
    auto* drive = new TDirNode;
    drive->name = r;
    drive->setText(0, DisplayText(r));
    drive->SetHasChildren(AnySubdirs(r));
    drive->sub = cSubChkP;
    drive->fol = cFolderY;
    drives.append(drive);
  }
  root->addChildren(drives);
  root->setExpanded(true);
  root->sub = cSubChkP;

  connect(tvDirSel, &QTreeWidget::itemExpanded, this, &TNewPickForm::tvDirSelExpanding);
  connect(tvDirSel, &QTreeWidget::itemCollapsed, this, &TNewPickForm::tvDirSelCollapsed);
  connect(tvDirSel, &QTreeWidget::itemSelectionChanged, this, &TNewPickForm::tvDirSelChange);

  tvDirSel->setFocus();
  AfterChange();
}

// Node helpers.

QTreeWidgetItem* TNewPickForm::TreeRoot() const { return tvDirSel->topLevelItem(0); }

int TNewPickForm::GetSub(const QTreeWidgetItem* Node) const { return N(Node)->sub; }

void TNewPickForm::SetOneSub(QTreeWidgetItem* Node, int Sub) {
  if (Sub < cSubLO || Sub > cSubHI) return;
  N(Node)->sub = Sub;
}

bool TNewPickForm::FolChecked(const QTreeWidgetItem* Node) const { return N(Node)->fol == cFolderY; }

void TNewPickForm::SetOneFol(QTreeWidgetItem* Node, bool Checked) { N(Node)->fol = Checked ? cFolderY : cFolderN; }

bool TNewPickForm::HasChildren(const QTreeWidgetItem* Node) const { return N(Node)->hasChildren; }

std::string TNewPickForm::FullPath(const QTreeWidgetItem* Node) const {
  std::vector<const TDirNode*> chain;  // the node up to its drive
  for (const QTreeWidgetItem* n = Node; n != nullptr && n->parent() != nullptr; n = n->parent())
    chain.push_back(N(n));
  if (chain.empty()) return {};
  std::string path = chain.back()->name;
  if (path.empty() || path.back() != '/') path += '/';
  for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) {
    path += (*it)->name;
    path += '/';
  }
  return path;
}

QRect TNewPickForm::CheckBoxRect(const QTreeWidgetItem* Node) const { return tvDirSel->CheckBoxRect(Node); }

bool TNewPickForm::AnySubdirs(const std::string& Path) const {
  DirListing folder = DirListing::Open(OpenablePath(Path));
  DirEntries scratch;
  return AnySubdirsIn(folder, folder.Mount(), scratch);
}

QTreeWidgetItem* TNewPickForm::Selected() const {
  const QList<QTreeWidgetItem*> items = tvDirSel->selectedItems();
  return items.isEmpty() ? nullptr : items.front();
}

// Tree events.

void TNewPickForm::tvDirSelExpanding(QTreeWidgetItem* Node) {
  TDirNode* node = N(Node);
  if (node->loaded || !node->hasChildren) return;
  node->loaded = true;

  DirListing folder = DirListing::Open(OpenablePath(FullPath(Node)));
  DirEntries entries;
  folder.Read(entries);  // an unreadable folder simply shows no children
  const std::optional<MountKey> mount = folder.Mount();

  struct Child {
    QCollatorSortKey key;
    std::unique_ptr<TDirNode> node;
  };
  std::vector<Child> children;
  const QCollator collator;
  DirEntries scratch;
  const bool checked = node->sub == cSubChkP;
  const bool countsLinks = folder.CountsSubfolderLinks();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!Shown(folder, entries, i, mount)) continue;
    auto child = std::make_unique<TDirNode>();
    child->name = std::string(entries.Name(i));
    const QString text = DisplayText(child->name);
    child->setText(0, text);
    bool any = false;
    // A folder with two links has no sub-folder where links are counted;
    // that spares opening each of thousands of leaf folders.
    if (!countsLinks || folder.Stat(entries.CName(i)).links != 2) {
      DirListing sub = DirListing::OpenAt(folder, entries.Name(i));
      any = AnySubdirsIn(sub, mount, scratch);
    }
    child->SetHasChildren(any);
    child->sub = any ? node->sub : cSubGray;
    child->fol = checked ? cFolderY : cFolderN;
    children.push_back({collator.sortKey(text), std::move(child)});
  }
  if (children.empty()) {
    node->SetHasChildren(false);
    aAllSubsUpdate();
    return;
  }
  // Sort keys are made once per name, so a huge folder sorts quickly.
  std::sort(children.begin(), children.end(),
            [](const Child& a, const Child& b) { return a.key.compare(b.key) < 0; });
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(children.size()));
  for (Child& c : children) items.append(c.node.release());
  tvDirSel->setUpdatesEnabled(false);
  Node->addChildren(items);
  tvDirSel->setUpdatesEnabled(true);
  aAllSubsUpdate();
}

void TNewPickForm::tvDirSelCollapsed(QTreeWidgetItem* Node) {
  // The root stays open: its drives are the whole choice.
  if (Node == TreeRoot()) tvDirSel->expandItem(Node);
}

void TNewPickForm::tvDirSelChange() {
  const QTreeWidgetItem* node = Selected();
  pnlFullPath->setText(node != nullptr ? QStringLiteral(" ") + DisplayText(FullPath(node)) : QString());
  aAllSubsUpdate();
}

void TNewPickForm::tvDirSelKeyPress() {
  if (QTreeWidgetItem* node = Selected()) SetFolAndAdjust(node, -1);
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
  if (QTreeWidgetItem* node = Selected()) SetFolAndAdjust(node, -1);
  aAllSubsUpdate();  // the action toggled its own check mark
}

void TNewPickForm::aAllSubsExecute() {
  if (QTreeWidgetItem* node = Selected()) SetSubAndAdjust(node, cSubChkP);
}

void TNewPickForm::aNoSubsExecute() {
  if (QTreeWidgetItem* node = Selected()) SetSubAndAdjust(node, cSubNotP);
}

void TNewPickForm::aExistSubsExecute() {
  QTreeWidgetItem* node = Selected();
  if (node == nullptr) return;
  tvDirSelExpanding(node);
  node->setExpanded(true);
  if (HasChildren(node)) {
    SetSubAndAdjust(node, cSubChek);
    // An ancestor that took every subfolder now takes the listed ones.
    for (QTreeWidgetItem* p = node->parent(); p != nullptr; p = p->parent())
      if (GetSub(p) == cSubChkP) SetOneSub(p, cSubChek);
  } else {
    SetSubAndAdjust(node, cSubGray);
  }
  AfterChange();
}

void TNewPickForm::aLegendExecute() {
  // The legend is made a stay-on-top tool window when created, so showing
  // it is all that is left to do.
  MyLegend->setVisible(!MyLegend->isVisible());
  aAllSubsUpdate();
}

// Carrying a choice down and up.

void TNewPickForm::SetFolAndAdjust(QTreeWidgetItem* Node, int Fol) {
  if (Node == nullptr || Node == TreeRoot()) return;
  bool New = false;
  if (Fol == -1) {
    New = !FolChecked(Node);
  } else if (Fol == cFolderY) {
    New = true;
  } else if (Fol == cFolderN) {
    New = false;
  } else {
    return;
  }
  SetOneFol(Node, New);
  ParSet(Node, New, !New);
  AfterChange();
}

void TNewPickForm::SetSubAndAdjust(QTreeWidgetItem* Node, int Sub) {
  if (Node == nullptr || Sub < cSubLO || Sub > cSubHI) return;
  SetOneSub(Node, Sub);
  const int T = (Sub == cSubChek || Sub == cSubGray) ? cSubChkP : Sub;
  ChdSet(Node, T == cSubChkP);
  ParSet(Node, T == cSubChkP, T == cSubNotP);
  AfterChange();
}

void TNewPickForm::ChdSet(QTreeWidgetItem* Node, bool In) {
  for (int i = 0; i < Node->childCount(); ++i) {
    TDirNode* c = N(Node->child(i));
    c->sub = c->hasChildren ? (In ? cSubChkP : cSubNotP) : cSubGray;
    c->fol = In ? cFolderY : cFolderN;
    ChdSet(c, In);
  }
}

void TNewPickForm::ParSet(QTreeWidgetItem* Node, bool In, bool Out) {
  if (In && Out) return;
  // Every ancestor is looked at, changed or not; their folder states stay.
  for (QTreeWidgetItem* P = Node->parent(); P != nullptr; P = P->parent()) {
    switch (GetSub(P)) {
      case cSubChkP:
      case cSubChek:
        if (!In) SetOneSub(P, AllSibsMatch(P, false) ? cSubNotP : cSubSome);
        break;
      case cSubNotP:
        if (!Out) SetOneSub(P, AllSibsMatch(P, true) ? cSubChek : cSubSome);
        break;
      case cSubSome:
        if (Out && AllSibsMatch(P, false))
          SetOneSub(P, cSubNotP);
        else if (In && AllSibsMatch(P, true))
          SetOneSub(P, cSubChek);
        break;
      default: break;
    }
  }
}

bool TNewPickForm::AllSibsMatch(const QTreeWidgetItem* P, bool Value) const {
  for (int i = 0; i < P->childCount(); ++i) {
    const TDirNode* c = N(P->child(i));
    bool matches = false;
    switch (c->sub) {
      case cSubChkP:
      case cSubChek: matches = Value; break;
      case cSubNotP: matches = !Value; break;
      case cSubGray: matches = true; break;
      default: matches = false; break;
    }
    if (!matches || FolChecked(c) != Value) return false;
  }
  return true;
}

void TNewPickForm::AfterChange() {
  tvDirSel->viewport()->update();
  btnOK->setEnabled(GetSub(TreeRoot()) != cSubNotP);
  aAllSubsUpdate();
}

// Reading the choice.

void TNewPickForm::SaveToList(FolderList& List) const {
  List.clear();
  Process(TreeRoot(), true, List);
}

void TNewPickForm::Process(const QTreeWidgetItem* Node, bool IsRoot, FolderList& List) const {
  const bool checked = FolChecked(Node);
  switch (GetSub(Node)) {
    case cSubChkP:
      if (IsRoot)
        List.push_back({NameForAll, FolderRule::pFolAndSub});
      else
        List.push_back({FullPath(Node), checked ? FolderRule::pFolAndSub : FolderRule::pSubOnly});
      return;
    case cSubNotP:
    case cSubGray:
      if (checked) List.push_back({FullPath(Node), FolderRule::pFolOnly});
      return;
    default:  // cSubChek, cSubSome: each loaded child decides
      if (checked) List.push_back({FullPath(Node), FolderRule::pFolOnly});
      for (int i = 0; i < Node->childCount(); ++i) Process(Node->child(i), false, List);
      return;
  }
}

}  // namespace vorlo
