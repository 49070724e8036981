// The folder picker (TNewPickForm): a tree of the local drives and their
// folders, loaded on expansion, with two states per node (the folder's own
// files; its subfolders) drawn as pictures.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

class TNewPickForm final : public QDialog {
  Q_OBJECT

 public:
  // `driveRoots`: the local drives' mount points; `nameForAll`: the
  // local-drives entry text; `iniPath`: the settings file.
  TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll, std::string iniPath,
               QWidget* parent = nullptr);
  ~TNewPickForm() override;

  // The current choice as folder entries (full path with a trailing "/" and
  // the subfolder rule), or the single local-drives entry.
  void SaveToList(FolderList& List) const;

 private:
  std::vector<std::string> driveRoots_;
  std::string nameForAll_;
  std::string iniPath_;
};

}  // namespace vorlo
