// The folder picker (TNewPickForm): a tree of the local drives and their
// folders, loaded on expansion, with two states per node (the folder's own
// files; its subfolders) drawn as pictures. A change to one node is carried
// down to its loaded descendants and up to its ancestors; SaveToList reads
// the choice as folder entries.
#pragma once

#include <QDialog>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "core/junk_type.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlo {

class PlacementStore;
class TDirSelImages;
class TLegendForm;
class TDirTree;

// Subfolder states (also the node pictures).
inline constexpr int cSubChkP = 0;  // every subfolder, also those created later
inline constexpr int cSubNotP = 1;  // no subfolders, also none created later
inline constexpr int cSubChek = 2;  // the subfolders that exist now, each by its own node
inline constexpr int cSubSome = 3;  // the children differ
inline constexpr int cSubGray = 4;  // the folder has no subfolders
inline constexpr int cSubLO = 0;
inline constexpr int cSubHI = 4;
// Folder states (the state pictures, the check boxes).
inline constexpr int cFolderY = 5;
inline constexpr int cFolderN = 6;

class TNewPickForm final : public QDialog {
  Q_OBJECT

 public:
  // `driveRoots`: the local drives' mount points, in their order;
  // `nameForAll`: the local-drives entry text, e.g. "Local drives (/,/home)",
  // saved as it is when everything is chosen. The picker and its legend
  // restore their positions from `placements` and save them when it closes.
  TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll, PlacementStore& placements,
               QWidget* parent = nullptr);
  ~TNewPickForm() override;

  void done(int r) override;

  // The current choice as folder entries (full path with a trailing "/" and
  // the subfolder rule), or the single local-drives entry.
  void SaveToList(FolderList& List) const;

  // Node helpers; the root is the tree's first node and has no folder state.
  QTreeWidgetItem* TreeRoot() const;
  int GetSub(const QTreeWidgetItem* Node) const;
  bool FolChecked(const QTreeWidgetItem* Node) const;
  // Whether the node shows an expand button (it has, or had, subfolders).
  bool HasChildren(const QTreeWidgetItem* Node) const;
  // "/home/" for the drive "/home", "/home/user/tmp/" for a folder, "" for
  // the root. Bytes as the file system gave them.
  std::string FullPath(const QTreeWidgetItem* Node) const;
  // Where a node's check box is, in the tree's viewport; empty for the root
  // or a node that is not shown.
  QRect CheckBoxRect(const QTreeWidgetItem* Node) const;

  TLegendForm* Legend() const { return MyLegend; }

 private:
  friend class TDirTree;

  void FormCreate();
  QTreeWidgetItem* Selected() const;
  void SetOneSub(QTreeWidgetItem* Node, int Sub);
  void SetOneFol(QTreeWidgetItem* Node, bool Checked);
  bool AnySubdirs(const std::string& Path) const;

  void tvDirSelExpanding(QTreeWidgetItem* Node);
  void tvDirSelCollapsed(QTreeWidgetItem* Node);
  void tvDirSelChange();
  void tvDirSelKeyPress();
  void ShowPopup(const QPoint& globalPos);

  void aAllSubsUpdate();
  void aFolderExecute();
  void aAllSubsExecute();
  void aNoSubsExecute();
  void aExistSubsExecute();
  void aLegendExecute();

  void SetFolAndAdjust(QTreeWidgetItem* Node, int Fol);
  void SetSubAndAdjust(QTreeWidgetItem* Node, int Sub);
  void ChdSet(QTreeWidgetItem* Node, bool In);
  void ParSet(QTreeWidgetItem* Node, bool In, bool Out);
  bool AllSibsMatch(const QTreeWidgetItem* P, bool Value) const;
  void Process(const QTreeWidgetItem* Node, bool IsRoot, FolderList& List) const;
  // Repaints the tree and enables OK unless nothing is chosen.
  void AfterChange();

  std::vector<std::string> driveRoots_;
  std::string NameForAll;
  PlacementStore& placements_;
  std::unique_ptr<TDirSelImages> imDirSel;
  bool OverCkBox = false;

  TDirTree* tvDirSel = nullptr;
  QLabel* pnlFullPath = nullptr;
  QPushButton* btnOK = nullptr;
  QMenu* pmDirSel = nullptr;
  QAction* aFolder = nullptr;
  QAction* aAllSubs = nullptr;
  QAction* aNoSubs = nullptr;
  QAction* aExistSubs = nullptr;
  QAction* aLegend = nullptr;
  TLegendForm* MyLegend = nullptr;
};

}  // namespace vorlo
