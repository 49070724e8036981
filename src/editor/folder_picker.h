// The folder picker (TNewPickForm): the dialog around the folder tree, with
// the path panel, the subfolder commands and their enabling, OK/Cancel and
// the legend. The choice itself lives in TFolderChoice, the tree in TDirTree.
#pragma once

#include <QDialog>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "core/junk_type.h"
#include "editor/folder_choice.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidgetItem;

namespace vorlo {

class TDirSelImages;
class PlacementStore;
class TLegendForm;
class TDirTree;

class TNewPickForm final : public QDialog {
  Q_OBJECT

 public:
  // `driveRoots`: the local drives' mount points, in their order;
  // `nameForAll`: the local-drives entry text, e.g. "Local drives (/,/home)",
  // saved as it is when everything is chosen. `start`: the folder entries
  // the picker opens with, each shown below the drives with its rule and
  // nothing else chosen; none: every drive with all its subfolders. The
  // picker and its legend restore their positions from `placements` and
  // save them when it closes.
  TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll, PlacementStore& placements,
               const FolderList& start = {}, QWidget* parent = nullptr);
  ~TNewPickForm() override;
  void done(int r) override;

  // The current choice as folder entries (full path with a trailing "/" and
  // the subfolder rule), or the single local-drives entry.
  void SaveToList(FolderList& List) const { Choice.SaveToList(List); }

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

  // The path field: adds the typed folder with the rule chosen beside it,
  // or says in the path panel why it cannot. A folder added while every
  // drive is chosen is chosen instead of them.
  void AddTypedFolder();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  QTreeWidgetItem* Selected() const;

  void tvDirSelChange();
  // Space on the selected node, or a click on a check box.
  void ToggleFolder(QTreeWidgetItem* Node);
  void ShowPopup(const QPoint& globalPos);

  void aAllSubsUpdate();
  void aFolderExecute();
  void aAllSubsExecute();
  void aNoSubsExecute();
  void aExistSubsExecute();
  void aLegendExecute();

  QWidget* BuildPathRow();
  // Chooses a folder entry by its rule; returns the item below the root
  // that shows it.
  QTreeWidgetItem* ShowFolder(const std::string& text, FolderRule rule);
  void SetSubAndAdjust(int Sub);
  // Repaints the tree and enables OK unless nothing is chosen.
  void AfterChange();

  PlacementStore& placements_;
  std::unique_ptr<TDirSelImages> imDirSel;
  TFolderChoice Choice;  // the nodes the tree shows

  TDirTree* tvDirSel = nullptr;
  QLabel* pnlFullPath = nullptr;
  QLineEdit* ebPath = nullptr;
  QComboBox* cbPathRule = nullptr;
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
