// The folder rows of the Directories page and the specification lines of
// the Deletes and Protects pages, with their commands.
#include "editor/type_wizard.h"

#include <QListWidget>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>

#include "gui/display_text.h"
#include "core/local_drives.h"
#include "core/text.h"
#include "editor/editor_texts.h"
#include "editor/folder_picker.h"
#include "editor/spec_editors.h"
#include "editor/wizard_items.h"

namespace vorlo {

using namespace wizard;

namespace {

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

bool TTypeWiz::IsLocalDrives(const QTreeWidgetItem& row) { return StartsWith(RawOf(row), kLocalDrivesPrefix); }

// Directories page.

void TTypeWiz::AddDirRow(const std::string& caption, FolderRule mode, bool withSelection) {
  auto* row = new QTreeWidgetItem(lvDirs_);
  row->setText(0, DisplayText(caption));
  row->setData(0, kRawRole, Bytes(caption));
  // Kept as stored, so that an unknown rule is saved back unchanged.
  const auto code = static_cast<int32_t>(mode);
  row->setData(0, Qt::UserRole, code);
  if (withSelection && code >= 0 && code <= 2) {
    row->setIcon(0, ModeIcon(mode));
    row->setText(1, QString::fromUtf8(texts::kSelectionTexts[code]));
  }
}

void TTypeWiz::adirClearExecute() {
  lvDirs_->clear();
  AddDirRow(nameforAll_, FolderRule::pFolAndSub, false);
  UpdateListActions();
}

FolderList TTypeWiz::DirRows() const {
  FolderList dirs;
  const int rows = lvDirs_->topLevelItemCount();
  if (rows == 1 && IsLocalDrives(*lvDirs_->topLevelItem(0))) return dirs;
  for (int i = 0; i < rows; ++i) {
    const QTreeWidgetItem& row = *lvDirs_->topLevelItem(i);
    dirs.push_back({RawOf(row), FolderRule{row.data(0, Qt::UserRole).toInt()}});
  }
  return dirs;
}

// The picker starts from the type's own folders, so that OK never widens
// them; a type of all local drives starts with every drive.
void TTypeWiz::adirChangeExecute() {
  TNewPickForm picker(setup_.drives.Roots(), nameforAll_, setup_.placements, DirRows(), this);
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
    TSpecForm form(setup_.placements, this);
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  } else {
    TNameForm form(setup_.placements, this);
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
    TSpecForm form(setup_.placements, this);
    form.SetSpec(RawOf(*line));
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  } else {
    TNameForm form(setup_.placements, this);
    form.SetSpec(RawOf(*line));
    if (form.exec() == QDialog::Accepted) spec = form.GetSpec();
  }
  if (spec) SetLine(*line, *spec);
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

}  // namespace vorlo
