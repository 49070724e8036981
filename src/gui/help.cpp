#include "gui/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
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

bool OpenHelpTopic(int context) {
  const QString path = HelpTopicPath(context, QCoreApplication::applicationDirPath());
  if (path.isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace vorlo
