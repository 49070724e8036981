// Opening a file with the desktop's program for it. xdg-open is run and
// waited for in the background, so that a desktop with no program for the
// file (xdg-open ends with an error) is noticed and can be reported.
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace vorlo {

// Runs xdg-open on `path`; `ended` runs on the main thread with true when
// xdg-open reports success, false when it cannot be started or ends with an
// error. Nothing is reported once `context` is gone; xdg-open and the
// program it starts keep running.
void OpenWithDesktop(const QString& path, QObject* context, std::function<void(bool opened)> ended);

}  // namespace vorlo
