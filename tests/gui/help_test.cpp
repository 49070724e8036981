#include "gui/help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

TEST(Help, EveryContextHasATopic) {
  for (const int context : {3, 4, 5, 6, 7, 8, 12, 13, 14, 15, 16}) {
    const QString path = HelpTopicPath(context, QStringLiteral("/nonexistent/bin"));
    ASSERT_TRUE(path.endsWith(QStringLiteral("/help/%1.html").arg(context))) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    EXPECT_TRUE(html.contains("<title>") && html.contains("</html>")) << context;
  }
  EXPECT_TRUE(HelpTopicPath(0, QStringLiteral("/nonexistent/bin")).isEmpty());
  EXPECT_TRUE(HelpTopicPath(99, QStringLiteral("/nonexistent/bin")).isEmpty());
  EXPECT_FALSE(OpenHelpTopic(0));
}

// Without a program to show it, the person is told which file holds the topic.
TEST(Help, ATopicTheDesktopCannotOpenIsReported) {
  QString shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  int opened = 0;
  EXPECT_FALSE(ShowHelpTopic(12, nullptr, [&opened](const QUrl&) { return ++opened, false; }));
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(shown.contains(QStringLiteral("/help/12.html"))) << shown.toStdString();

  EXPECT_TRUE(ShowHelpTopic(12, nullptr, [](const QUrl& url) { return url.toLocalFile().endsWith("12.html"); }));
  EXPECT_FALSE(ShowHelpTopic(0, nullptr, [](const QUrl&) { return true; }));  // no topic, no message
}

TEST(Help, InstalledTopicsComeFirst) {
  const testing::TempDir dir;
  const std::string topic = dir.Write("share/vorlo/help/12.html", "<html></html>");
  dir.Write("bin/vorlo");
  EXPECT_EQ(HelpTopicPath(12, QString::fromStdString(dir / "bin")), QString::fromStdString(topic));
}

}  // namespace
}  // namespace vorlo
