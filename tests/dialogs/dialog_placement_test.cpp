// The found files, properties and review windows take their position from the store
// they are given and save it there when they close, not when destroyed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <functional>
#include <memory>

#include "dialogs/found_form.h"
#include "dialogs/prop_form.h"
#include "dialogs/review_form.h"
#include "support/memory_placements.h"

namespace vorlo {
namespace {

using testing::MemoryPlacements;

TEST(DialogPlacement, RestoredFromTheStoreAndSavedOnceWhenClosed) {
  struct Case {
    const char* name;
    bool Siz;
    QSize designSize;
    std::function<std::unique_ptr<QDialog>(PlacementStore&)> make;
  };
  const Case cases[] = {
      {"FoundForm", false, {523, 337}, [](PlacementStore& s) { return std::make_unique<TFoundForm>(s); }},
      {"PropForm", true, {}, [](PlacementStore& s) { return std::make_unique<TPropForm>(DescriptionContext{}, s); }},
      {"ReviewForm", true, {},
       [](PlacementStore& s) { return std::make_unique<TReviewForm>(s, NumberSeparators{}, ReviewActions{}); }},
  };
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  for (const Case& c : cases) {
    const std::string section = PlacementSection(c.name);
    const int left = work.x() + 30, top = work.y() + 40;
    std::string text = "[" + section + "]\r\nLeft=" + std::to_string(left) + "\r\nTop=" + std::to_string(top) + "\r\n";
    if (c.Siz) text += "Right=" + std::to_string(left + 600) + "\r\nBottom=" + std::to_string(top + 340) + "\r\n";
    MemoryPlacements placements(text);
    std::unique_ptr<QDialog> dialog = c.make(placements);
    EXPECT_EQ(dialog->geometry(), QRect(QPoint(left, top), c.Siz ? QSize(600, 340) : c.designSize)) << c.name;

    dialog->show();
    dialog->setGeometry(left + 20, top + 10, 580, 320);
    QApplication::processEvents();
    EXPECT_EQ(placements.saves, 0) << c.name;
    dialog->reject();
    EXPECT_EQ(placements.saves, 1) << c.name;
    dialog.reset();
    EXPECT_EQ(placements.saves, 1) << c.name;

    const IniDocument saved = placements.Doc();
    std::vector<std::string> keys{"Left", "Top", "MinX", "MinY", "MaxX", "MaxY", "ShowCmd", "flags"};
    if (c.Siz) keys.insert(keys.begin() + 2, {"Right", "Bottom"});
    EXPECT_EQ(saved.Keys(section), keys) << c.name;
    EXPECT_EQ(saved.IntValue(section, "Left"), left + 20) << c.name;
    EXPECT_EQ(saved.IntValue(section, "Top"), top + 10) << c.name;
    if (c.Siz) {
      EXPECT_EQ(saved.IntValue(section, "Right"), left + 20 + 580) << c.name;
    }
  }
}

}  // namespace
}  // namespace vorlo
