#include "gui/desktop_open.h"

#include <QProcess>

namespace vorlo {

void OpenWithDesktop(const QString& path, QObject* context, std::function<void(bool opened)> ended) {
  // No parent: closing the window must not kill a launcher that waits for
  // the program it started.
  auto* process = new QProcess;
  process->setProgram(QStringLiteral("xdg-open"));
  process->setArguments({path});
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, context, [ended](int code, QProcess::ExitStatus status) {
    ended(status == QProcess::NormalExit && code == 0);
  });
  QObject::connect(process, &QProcess::errorOccurred, context, [ended](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) ended(false);
  });
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) process->deleteLater();
  });
  process->start();
}

}  // namespace vorlo
