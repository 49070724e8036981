#include "gui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace vorlo {

QString HelpTopicPath(int context, const QString& programFolder) {
  if (context <= 0) return {};
  const QString name = QString::number(context) + QStringLiteral(".html");
  const QString folders[] = {QDir(programFolder).filePath(QStringLiteral(VORLO_HELP_FROM_BIN)),
                             QStringLiteral(VORLO_HELP_SOURCE_DIR)};
  for (const QString& folder : folders) {
    const QFileInfo topic(QDir(folder), name);
    if (topic.isFile()) return QDir::cleanPath(topic.absoluteFilePath());
  }
  return {};
}

bool QDesktopServicesOpen(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool ShowHelpTopic(int context, QWidget* parent, const std::function<bool(const QUrl&)>& open) {
  if (context <= 0) return false;
  const QString path = HelpTopicPath(context, QCoreApplication::applicationDirPath());
  if (!path.isEmpty() && open(QUrl::fromLocalFile(path))) return true;
  const QString text =
      path.isEmpty()
          ? QStringLiteral("The help topic %1.html was not found with the program.").arg(context)
          : QStringLiteral("The help topic could not be opened: no program to show %1 was found.\n\n"
                           "Open the file with a web browser to read it.")
                .arg(QDir::toNativeSeparators(path));
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Vorlo"), text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("helpFailed"));
  box.exec();
  return false;
}

bool OpenHelpTopic(int context) {
  const QString path = HelpTopicPath(context, QCoreApplication::applicationDirPath());
  if (path.isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace vorlo
