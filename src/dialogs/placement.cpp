#include "dialogs/placement.h"

namespace vorlo {

void GetPosFmINI(QWidget&, const std::string&, bool, const std::string&) {}
void SetPosToINI(const QWidget&, const std::string&, bool, const std::string&) {}

}  // namespace vorlo
