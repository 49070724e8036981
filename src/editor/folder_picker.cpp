#include "editor/folder_picker.h"

namespace vorlo {

TNewPickForm::TNewPickForm(std::vector<std::string> driveRoots, std::string nameForAll, std::string iniPath,
                           QWidget* parent)
    : QDialog(parent), driveRoots_(std::move(driveRoots)), nameForAll_(std::move(nameForAll)), iniPath_(std::move(iniPath)) {}

TNewPickForm::~TNewPickForm() = default;

void TNewPickForm::SaveToList(FolderList& List) const { List.clear(); }

}  // namespace vorlo
