// The folder picker's tree (tvDirSel): shows the nodes of a TFolderChoice,
// lists a folder's children the first time it is expanded and draws each
// node's two states as pictures. A toggle of a node's check box (Space, or
// a click on the box) and the context menu are left to the window.
#pragma once

#include <QRect>
#include <QTreeWidget>

namespace vorlo {

class TDirSelImages;
class TFolderChoice;
struct TChoiceNode;
class TDirDelegate;

class TDirTree final : public QTreeWidget {
  Q_OBJECT

 public:
  // Shows the root "Local Drives", open, with the drives `choice` holds.
  // Both must outlive the tree.
  TDirTree(TFolderChoice& choice, const TDirSelImages& images, QWidget* parent);

  const TDirSelImages& Images() const { return images_; }

  QTreeWidgetItem* TreeRoot() const { return topLevelItem(0); }
  QTreeWidgetItem* Selected() const;
  // The choice node an item shows.
  static TChoiceNode& Node(QTreeWidgetItem* Item);
  static const TChoiceNode& Node(const QTreeWidgetItem* Item);

  // Lists the item's children unless done already or it has none.
  void tvDirSelExpanding(QTreeWidgetItem* Item);
  // The item below the root that shows `node` (a drive or a folder entry of
  // its own), added at the end when there is none yet.
  QTreeWidgetItem* TopItem(TChoiceNode& node);

  // Where a node's check box is, in the viewport; empty for the root or a
  // node that is not shown.
  QRect CheckBoxRect(const QTreeWidgetItem* Item) const;

 Q_SIGNALS:
  void FolderToggled(QTreeWidgetItem* Item);
  void PopupRequested(const QPoint& globalPos);
  // Children were listed; the item may have lost its expand button.
  void ChildrenLoaded(QTreeWidgetItem* Item);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void tvDirSelCollapsed(QTreeWidgetItem* Item);
  bool OnCheckBox(QPoint pos) const;

  TFolderChoice& choice_;
  const TDirSelImages& images_;
  TDirDelegate* delegate_ = nullptr;
  bool OverCkBox = false;  // the pointer is over a node's check box
};

}  // namespace vorlo
