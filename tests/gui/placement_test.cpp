#include "gui/placement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <filesystem>

#include "core/placement_ini.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::ReadFile;
using testing::TempDir;

QRect Work() { return QGuiApplication::primaryScreen()->availableGeometry(); }

TEST(Placement, MaximisedWindowSavesItsNormalRectangle) {
  const TempDir dir;
  const std::string ini = dir / "data/Vorlo/Vorlo.ini";  // the folders do not exist yet
  QWidget window;
  window.setGeometry(40, 50, 300, 200);
  window.show();
  window.showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(window.isMaximized());
  IniFileStore store(ini);
  ASSERT_EQ(store.SetPosToINI(window, "MainForm", true), 0);
  EXPECT_EQ(ReadFile(ini),
            "[MainForm Settings]\r\nLeft=40\r\nTop=50\r\nRight=340\r\nBottom=250\r\n"
            "MinX=0\r\nMinY=0\r\nMaxX=0\r\nMaxY=0\r\nShowCmd=3\r\nflags=0\r\n");
}

TEST(Placement, RestoreFitsTheSavedRectangleAndSaveKeepsOtherSections) {
  const TempDir dir;
  const QRect work = Work();
  const int right = work.x() + work.width();
  // Saved 100 pixels beyond the work area's right edge.
  const std::string text = "[NameForm Settings]\r\nInitialDir=/home/u/\r\n[PropForm Settings]\r\nLeft=" +
                           std::to_string(right - 200) + "\r\nTop=" + std::to_string(work.y() + 10) +
                           "\r\nRight=" + std::to_string(right + 100) +
                           "\r\nBottom=" + std::to_string(work.y() + 110) + "\r\n";
  const std::string ini = dir.Write("Vorlo.ini", text);
  IniFileStore store(ini);

  QWidget window;
  window.resize(120, 80);
  store.GetPosFmINI(window, "PropForm", true);
  EXPECT_EQ(window.geometry(), QRect(right - 300, work.y() + 10, 300, 100));
  EXPECT_FALSE(window.isVisible());

  window.move(window.x() + 5, window.y());
  ASSERT_EQ(store.SetPosToINI(window, "PropForm", true), 0);
  const IniDocument saved = IniDocument::Parse(ReadFile(ini));
  EXPECT_EQ(saved.IntValue("PropForm Settings", "Left"), right - 295);
  EXPECT_EQ(saved.IntValue("PropForm Settings", "ShowCmd"), 1);
  EXPECT_EQ(saved.Value("NameForm Settings", "InitialDir"), "/home/u/");

  EXPECT_EQ(store.ReadIniString("nameform settings", "initialdir"), "/home/u/");
  ASSERT_EQ(store.WriteIniString("NameForm Settings", "InitialDir", "/tmp/"), 0);
  EXPECT_EQ(store.ReadIniString("NameForm Settings", "InitialDir"), "/tmp/");
  EXPECT_NE(store.WriteIniString("NameForm Settings", "InitialDir", "/a\nLeft=1"), 0);
}

TEST(Placement, NoSettingsFileCentresAndCreatesNothing) {
  const TempDir dir;
  const std::string ini = dir / "Vorlo.ini";
  QWidget window;
  window.resize(200, 100);
  IniFileStore(ini).GetPosFmINI(window, "FoundForm", false);
  const QRect work = Work();
  EXPECT_EQ(window.geometry(),
            QRect(work.x() + (work.width() - 200) / 2, work.y() + (work.height() - 100) / 2, 200, 100));
  EXPECT_FALSE(std::filesystem::exists(ini));
}

}  // namespace
}  // namespace vorlo
