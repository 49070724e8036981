// Loading the controls from a junk type and building the type from them.
#include "editor/type_wizard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>

#include "gui/display_text.h"
#include "editor/restriction_panel.h"
#include "editor/wizard_items.h"

namespace vorlo {

using namespace wizard;

// Loading and building the junk type.

void TTypeWiz::SetFromObj(const TJunkFileObj& TJ, bool BinHasProb) {
  if (BinHasProb) {
    rbRecycle_->setEnabled(false);
    cbEnabled_->setEnabled(!rbRecycle_->isChecked());
  }
  // A stored name longer than the limit is kept whole; it only cannot grow.
  ebName_->setMaxLength(std::max<int>(32, static_cast<int>(DisplayText(TJ.TypName()).size())));
  ebName_->setText(DisplayText(TJ.TypName()));
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
  for (const std::string_view s : TJ.Deletes()) lbDels_->addItem(MakeLine(std::string(s)));
  lbProts_->clear();
  for (const std::string_view s : TJ.Prots()) lbProts_->addItem(MakeLine(std::string(s)));
  restrict_->LoadFrom(TJ);
  Notebook1PageChanged();
  if (lvDirs_->topLevelItemCount() == 0) AddDirRow(nameforAll_, FolderRule::pFolAndSub, false);
  UpdateListActions();
}

const TJunkFileObj& TTypeWiz::GetFromObj() {
  if (theObj_ && (CurrentPage() == WizardPage::nbpgSumm || CurrentPage() == WizardPage::nbPgTotl)) return *theObj_;
  theObj_.reset();
  const FolderList dirs = DirRows();
  const CleanupMethod method = rbRecycle_->isChecked()  ? CleanupMethod::cuRecycle
                               : rbDelete_->isChecked() ? CleanupMethod::cuDelete
                                                        : CleanupMethod::cuHolding;
  SpecList deletes, prots;
  for (int i = 0; i < lbDels_->count(); ++i) deletes.push_back(RawOf(*lbDels_->item(i)));
  for (int i = 0; i < lbProts_->count(); ++i) prots.push_back(RawOf(*lbProts_->item(i)));
  const RestrictionValues r = restrict_->Store();
  // An unchanged name keeps its bytes, even those the edit cannot show.
  std::string name = ebName_->text().toStdString();
  if (ebName_->text() == DisplayText(loadedName_)) name = loadedName_;
  theObj_.emplace(std::move(name), cbEnabled_->isChecked(), method, dirs, deletes, prots, r.date, r.age, r.size);
  return *theObj_;
}

}  // namespace vorlo
