#include "editor/folder_tree.h"

#include <QApplication>
#include <QCollator>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "editor/folder_choice.h"
#include "editor/folder_probe.h"
#include "editor/picker_pictures.h"
#include "gui/display_text.h"

namespace vorlo {

namespace {

constexpr const char* kRootText = "Local Drives";

// An item shows a choice node; its picture is worked out when the view
// paints, so carrying a choice over many nodes is only field writes.
class TDirItem final : public QTreeWidgetItem {
 public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;
  explicit TDirItem(TChoiceNode& node) : QTreeWidgetItem(kType), node_(node) { FollowHasChildren(); }

  TChoiceNode& Node() const { return node_; }
  void FollowHasChildren() {
    setChildIndicatorPolicy(node_.hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicator);
  }

  QVariant data(int column, int role) const override {
    if (column == 0 && role == Qt::DecorationRole) {
      if (const auto* tree = static_cast<const TDirTree*>(treeWidget()))
        return tree->Images().NodeIcon(node_.sub, node_.fol);
      return {};
    }
    return QTreeWidgetItem::data(column, role);
  }

 private:
  TChoiceNode& node_;
};

}  // namespace

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

TDirTree::TDirTree(TFolderChoice& choice, const TDirSelImages& images, QWidget* parent)
    : QTreeWidget(parent), choice_(choice), images_(images) {
  delegate_ = new TDirDelegate(this);
  setItemDelegate(delegate_);
  viewport()->setMouseTracking(true);
  setObjectName(QStringLiteral("tvDirSel"));
  setHeaderHidden(true);
  setIndentation(19);
  setRootIsDecorated(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(TDirSelImages::kNodeIconSize);
  setUniformRowHeights(true);  // keeps a folder of 100,000 sub-folders quick
  setLineWidth(2);
  setContextMenuPolicy(Qt::DefaultContextMenu);

  TChoiceNode& rootNode = choice_.TreeRoot();
  auto* root = new TDirItem(rootNode);
  root->setText(0, QString::fromUtf8(kRootText));
  addTopLevelItem(root);
  for (const auto& drive : rootNode.children) TopItem(*drive);
  root->setExpanded(true);

  connect(this, &QTreeWidget::itemExpanded, this, &TDirTree::tvDirSelExpanding);
  connect(this, &QTreeWidget::itemCollapsed, this, &TDirTree::tvDirSelCollapsed);
}

QTreeWidgetItem* TDirTree::TopItem(TChoiceNode& node) {
  QTreeWidgetItem* root = TreeRoot();
  for (int i = 0; i < root->childCount(); ++i)
    if (&Node(root->child(i)) == &node) return root->child(i);
  auto* item = new TDirItem(node);
  // A folder entry shows its path as a drive shows its mount point.
  std::string text = node.name;
  if (node.entry && text.size() > 1 && text.back() == '/') text.pop_back();
  item->setText(0, DisplayText(text));
  root->addChild(item);
  return item;
}

TChoiceNode& TDirTree::Node(QTreeWidgetItem* Item) { return static_cast<TDirItem*>(Item)->Node(); }

const TChoiceNode& TDirTree::Node(const QTreeWidgetItem* Item) {
  return static_cast<const TDirItem*>(Item)->Node();
}

QTreeWidgetItem* TDirTree::Selected() const {
  const QList<QTreeWidgetItem*> items = selectedItems();
  return items.isEmpty() ? nullptr : items.front();
}

void TDirTree::tvDirSelExpanding(QTreeWidgetItem* Item) {
  TChoiceNode& node = Node(Item);
  if (node.loaded || !node.hasChildren) return;

  struct Child {
    QCollatorSortKey key;
    QString text;
    ShownFolder folder;
  };
  std::vector<Child> children;
  const QCollator collator;
  for (ShownFolder& f : ListSubdirs(TFolderChoice::FullPath(node))) {
    QString text = DisplayText(f.name);
    children.push_back({collator.sortKey(text), std::move(text), std::move(f)});
  }
  // Sort keys are made once per name, so a huge folder sorts quickly.
  std::sort(children.begin(), children.end(),
            [](const Child& a, const Child& b) { return a.key.compare(b.key) < 0; });
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(children.size()));
  for (Child& c : children) {
    auto* item = new TDirItem(choice_.AddChild(node, std::move(c.folder.name), c.folder.hasSubfolders));
    item->setText(0, c.text);
    items.append(item);
  }
  TFolderChoice::SetLoaded(node);
  if (items.isEmpty()) {
    static_cast<TDirItem*>(Item)->FollowHasChildren();
  } else {
    setUpdatesEnabled(false);
    Item->addChildren(items);
    setUpdatesEnabled(true);
  }
  Q_EMIT ChildrenLoaded(Item);
}

void TDirTree::tvDirSelCollapsed(QTreeWidgetItem* Item) {
  // The root stays open: its drives are the whole choice.
  if (Item == TreeRoot()) expandItem(Item);
}

QRect TDirTree::CheckBoxRect(const QTreeWidgetItem* Item) const {
  if (Item == nullptr || Item->parent() == nullptr) return {};
  const QModelIndex index = indexFromItem(Item);
  const QRect rect = visualRect(index);
  if (!rect.isValid()) return {};
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = rect;
  const QRect dec = delegate_->DecorationRect(option, index);
  const QSize box = TDirSelImages::kPictureSize;
  return {dec.left(), dec.top() + (dec.height() - box.height()) / 2, box.width(), box.height()};
}

bool TDirTree::OnCheckBox(QPoint pos) const {
  const QTreeWidgetItem* item = itemAt(pos);
  return item != nullptr && CheckBoxRect(item).contains(pos);
}

void TDirTree::keyPressEvent(QKeyEvent* e) {
  // "*" would expand every level below, listing whole drives.
  if (e->key() == Qt::Key_Asterisk) return e->accept();
  if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier) {
    if (QTreeWidgetItem* item = Selected()) Q_EMIT FolderToggled(item);
    return e->accept();
  }
  QTreeWidget::keyPressEvent(e);
}

void TDirTree::mouseMoveEvent(QMouseEvent* e) {
  OverCkBox = OnCheckBox(e->position().toPoint());
  QTreeWidget::mouseMoveEvent(e);
}

void TDirTree::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  OverCkBox = OnCheckBox(pos);
  if (e->button() == Qt::RightButton) {
    QTreeWidgetItem* item = itemAt(pos);
    setCurrentItem(item);
    if (item == nullptr) clearSelection();
    return e->accept();
  }
  if (e->button() == Qt::LeftButton && OverCkBox) {
    QTreeWidgetItem* item = itemAt(pos);
    setCurrentItem(item);
    Q_EMIT FolderToggled(item);
    return e->accept();
  }
  QTreeWidget::mousePressEvent(e);
}

// A quick second click on a check box toggles it again rather than
// expanding the node.
void TDirTree::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && OnCheckBox(e->position().toPoint())) return mousePressEvent(e);
  QTreeWidget::mouseDoubleClickEvent(e);
}

void TDirTree::contextMenuEvent(QContextMenuEvent* e) {
  Q_EMIT PopupRequested(e->globalPos());
  e->accept();
}

}  // namespace vorlo
