// Window placement in the settings file: one section "<name> Settings" per
// window with the restored rectangle, the minimised and maximised positions,
// the show state and the flags.
#pragma once

#include <string>

class QWidget;

namespace vorlo {

// Restores the placement of `window` (its current size is its design size);
// `Siz` restores the size too. Call before the window is shown.
void GetPosFmINI(QWidget& window, const std::string& name, bool Siz, const std::string& iniPath);
// Saves the placement; `Siz` writes "Right" and "Bottom" too.
void SetPosToINI(const QWidget& window, const std::string& name, bool Siz, const std::string& iniPath);

}  // namespace vorlo
