#include "dialogs/found_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "support/dialog_test_util.h"
#include "support/memory_placements.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::TempDir;

class FoundFormTest : public ::testing::Test {
 protected:
  TempDir dir;
  testing::MemoryPlacements placements;
};

TEST_F(FoundFormTest, LongLineScrollsSideways) {
  const std::string longLine = "/home/u/" + std::string(400, 'x') + "/file.tmp";
  const std::string file = dir.Write("found.txt", "/tmp/a.tmp\r\n" + longLine + "\r\n/tmp/b.tmp\r\n");
  TFoundForm form(placements);
  ASSERT_TRUE(form.SetData(file, "My type"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Files for \"My type\""));

  auto* lbFound = form.findChild<QListWidget*>(QStringLiteral("lbFound"));
  ASSERT_NE(lbFound, nullptr);
  ASSERT_EQ(lbFound->count(), 3);
  EXPECT_EQ(lbFound->item(0)->text(), QStringLiteral("/tmp/a.tmp"));
  EXPECT_EQ(lbFound->item(1)->text(), QString::fromStdString(longLine));
  EXPECT_EQ(lbFound->font().pixelSize(), 13);

  const int longWidth = QFontMetrics(lbFound->font()).horizontalAdvance(QString::fromStdString(longLine));
  EXPECT_GE(form.HorizontalExtent(), longWidth);

  form.show();
  QApplication::processEvents();
  // Every row, the short ones included, spans the widest line, and the list
  // scrolls sideways to its end.
  EXPECT_GE(lbFound->visualItemRect(lbFound->item(0)).width(), longWidth);
  EXPECT_GE(lbFound->horizontalScrollBar()->maximum(), longWidth - lbFound->viewport()->width());
}

TEST_F(FoundFormTest, EmptyFileGivesEmptyListAndCaption) {
  const std::string file = dir.Write("found.txt", "");
  TFoundForm form(placements);
  ASSERT_TRUE(form.SetData(file, "Temp \"x\""));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Files for \"Temp \"x\"\""));
  auto* lbFound = form.findChild<QListWidget*>(QStringLiteral("lbFound"));
  EXPECT_EQ(lbFound->count(), 0);
  EXPECT_EQ(form.HorizontalExtent(), 0);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(lbFound->horizontalScrollBar()->maximum(), 0);
}

TEST_F(FoundFormTest, UnreadableFileFailsNamingTheFile) {
  const std::string file = dir / "missing.txt";
  TFoundForm form(placements);
  EXPECT_FALSE(form.SetData(file, "Name"));
  EXPECT_TRUE(form.LoadError().contains(QString::fromStdString(file))) << form.LoadError().toStdString();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(FoundFormTest, DoneEnterAndEscapeCloseWithOk) {
  const std::string file = dir.Write("found.txt", "/tmp/a\n/tmp/b\n");
  for (int key : {0, int(Qt::Key_Escape), int(Qt::Key_Return)}) {
    TFoundForm form(placements);
    ASSERT_TRUE(form.SetData(file, "n"));
    form.show();
    auto* lbFound = form.findChild<QListWidget*>(QStringLiteral("lbFound"));
    lbFound->setFocus();
    if (key == 0)
      form.findChild<QPushButton*>(QStringLiteral("btnDone"))->click();
    else
      testing::SendKey(lbFound, key);
    EXPECT_FALSE(form.isVisible()) << key;
    EXPECT_EQ(form.result(), QDialog::Accepted) << key;
  }
}

}  // namespace
}  // namespace vorlo
