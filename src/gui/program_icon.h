// The program's icon, drawn in code so that no image plug-in is needed; the
// same picture as packaging/vorlo.svg, which the desktop menus use.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vorlo {

QPixmap ProgramIconPixmap(int size);
QIcon ProgramIcon();

}  // namespace vorlo
