// Window placement in the settings file: one section "<name> Settings" per
// window with the restored rectangle, the minimised and maximised positions,
// the show state and the flags. The Qt side of core/placement_ini.h: the
// restored rectangle is the window's normal geometry, the work area the
// primary screen's available geometry.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace vorlo {

// Restores the placement of `window` (its current size is its design size);
// `Siz` restores the size too. Call before the window is shown. A missing or
// unreadable settings file leaves the window centred at its design size.
void GetPosFmINI(QWidget& window, const std::string& name, bool Siz, const std::string& iniPath);

// Saves the placement; `Siz` writes "Right" and "Bottom" too. Creates the
// folder of `iniPath` when missing and replaces the file safely. Returns 0
// or the errno of the failure; a settings file that exists but cannot be
// read is left alone rather than overwritten without its other sections.
int SetPosToINI(const QWidget& window, const std::string& name, bool Siz, const std::string& iniPath);

// One value of the settings file (for keys such as "InitialDir").
std::optional<std::string> ReadIniString(const std::string& iniPath, const std::string& section,
                                         const std::string& key);
// Sets one value, keeping everything else in the file; 0 or an errno
// (EINVAL for a value with a line break, which one INI line cannot hold).
int WriteIniString(const std::string& iniPath, const std::string& section, const std::string& key,
                   const std::string& value);

}  // namespace vorlo
