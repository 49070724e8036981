// The main window's commands as the person meets them: captions on the
// ribbon and in the menus, shortcuts, hints, the ribbon's layout at the
// default and the least width, and the keyboard paths.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <future>
#include <map>

#include "support/window_fixture.h"
#include "window/ribbon.h"

// A button's place in failure messages.
void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace vorlo {
namespace {

using testing::RemovalGate;
using testing::WindowFixture;
using enum CleanupMethod;

RibbonButton* OnRibbon(TMainForm& w, const QString& name) {
  for (RibbonButton* b : w.RibbonBar().Buttons())
    if (b->Command()->objectName() == name) return b;
  return nullptr;
}

// The menu entry that shows command `name` (the move entries are the list's
// own, with their own shortcut).
QAction* InMenu(QMenu* menu, const QString& name) {
  for (QAction* e : menu->actions()) {
    if (e->menu() && e->menu()->objectName() == name) return e;
    if (e->objectName() == name || e->objectName() == name + QStringLiteral("Menu")) return e;
    if (e->menu())
      if (QAction* inner = InMenu(e->menu(), name)) return inner;
  }
  return nullptr;
}

QAction* Command(TMainForm& w, const QString& name) {
  if (auto* a = w.findChild<QAction*>(name)) return a;
  if (auto* m = w.findChild<QMenu*>(name)) return m->menuAction();
  return nullptr;
}

struct Row {
  const char* name;
  const char* ribbon;    // caption on the ribbon; empty: not there
  const char* menu;      // caption in the popup or application menu; empty: not there
  const char* shortcut;  // as the menu shows it, or the command's own
  const char* hint;
  bool enabled;  // two rows, the first selected and checked, idle
  bool visible = true;
};

// Every command of the window with one row selected.
TEST(MainWindowCommands, CaptionsShortcutsHintsAndStates) {
  WindowFixture f;
  f.wizard = [](QWidget*, const TJunkFileObj&, bool) -> std::optional<TJunkFileObj> { return std::nullopt; };
  TMainForm& w = f.Window();
  f.run.list.Append(f.run.FolderType("One", cuDelete, "one"));
  f.run.list.Append(f.run.FolderType("Two", cuDelete, "two"));
  f.Check(0, true);
  f.Select(0);

  const Row rows[] = {
      {"aCleanup", "", "", "", "Process all checked junk file types now", true},
      {"act1", "&Clean up", "", "", "", true},
      {"act10", "&Analyze only", "", "", "", true},
      {"aReview", "&Review found files", "", "",
       "Review the files the last analysis found and clean up the ticked ones", false},
      {"aUndoCleanup", "&Undo last clean-up", "", "",
       "Put back what the last clean-up sent to the trash or the holding folder", false},
      {"aAdd", "", "&New item", "Ins", "Add a new junk file type", true},
      {"act2", "&Add new item", "", "", "", true},
      {"aDefaults", "", "", "", "Add one of the default junk file types", true},
      {"act9", "&Defaults", "", "", "", true},
      {"aEdit", "&Edit item", "&Edit item", "", "Edit the selected junk file type", true},
      {"aRem", "", "&Remove item", "Ctrl+X", "Remove the highlighted junk file type", true},
      {"aUndo", "", "&Undo removal", "Ctrl+Z", "Undo the most recent Remove operation", false},
      {"aUp", "", "Move item &higher", "Ctrl+H", "Move the selected item higher in the list", false},
      {"act5", "Move item &higher", "", "", "", true},
      {"aDn", "Move item &lower", "Move item &lower", "Ctrl+L", "Move the selected item lower in the list", true},
      {"aProps", "Display &properties", "Display &properties", "Ctrl+Enter",
       "Display properties for the selected junk file type", true},
      {"aCount", "Coun&t matching files", "Coun&t matching files", "",
       "Count the number of files matching the selected junk file type", true},
      {"aCheckAll", "", "Check &All", "", "", true},
      {"aClearAll", "", "Unchec&k All", "", "", true},
      {"mnuMethodAll", "", "Clean-up &method for All", "", "", true},
      {"mnuRecycleAll", "", "Send to Recycle Bin", "", "For all types, send removed files to Recycle Bin. ", true},
      {"mnuBackupAll", "", "Move to holding folder", "", "", true},
      {"mnuDeleteAll", "", "Delete permanently", "", "For all types, delete files permanently.", true},
      {"aAbout", "", "A&bout", "", "Display version and copyright information", true},
      {"Action1", "&About Vorlo", "", "", "", true},
      {"Action3", "&Settings..", "", "", "", true},
      {"aSchedule", "Sched&ule...", "", "", "", true},
      {"onlineUpdate", "&Online-Update", "", "", "", false, false},
      {"aExit", "", "", "", "Exit the program", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const QString name = QString::fromLatin1(r.name);
    QAction* command = Command(w, name);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->statusTip().toStdString(), r.hint);

    RibbonButton* button = OnRibbon(w, name);
    EXPECT_EQ(button != nullptr, *r.ribbon != '\0');
    if (button) {
      EXPECT_EQ(button->Command()->text().toStdString(), r.ribbon);
      EXPECT_EQ(button->statusTip().toStdString(), r.hint);
      EXPECT_EQ(button->isEnabled(), r.enabled);
      EXPECT_EQ(!button->isHidden(), r.visible);
    }
    QAction* entry = InMenu(w.PopupMenu(), name);
    if (!entry) entry = InMenu(w.RibbonBar().AppMenu(), name);
    EXPECT_EQ(entry != nullptr, *r.menu != '\0');
    if (entry) {
      EXPECT_EQ(entry->text().toStdString(), r.menu);
      EXPECT_EQ(entry->statusTip().toStdString(), r.hint);
      EXPECT_EQ(entry->isEnabled(), r.enabled);
    }
    const QAction* shown = entry ? entry : command;
    EXPECT_EQ(shown->shortcut().toString(QKeySequence::NativeText).toStdString(), r.shortcut);
    if (!button && !entry) {
      EXPECT_EQ(command->isEnabled(), r.enabled);
    }
  }
  // The commands keep Shift+Ctrl+H and Shift+Ctrl+L; Ctrl+Return still works.
  EXPECT_EQ(f.A().aUp->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_H));
  EXPECT_EQ(f.A().aDn->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_L));
  EXPECT_TRUE(f.A().aProps->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Return)));
  EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("btnExit"))->text(), QStringLiteral("E&xit"));
}

// Each tab at the default and at the least width: every button and group
// caption is as large as its text needs, lies inside the ribbon and meets
// no other.
TEST(MainWindowRibbon, EveryCaptionFitsAtTheDefaultAndTheLeastWidth) {
  WindowFixture f;
  TMainForm& w = f.Window();
  w.show();
  Ribbon& ribbon = w.RibbonBar();
  for (const int width : {650, 522}) {
    w.resize(width, 463);
    QApplication::processEvents();
    ASSERT_EQ(w.width(), width);
    for (int tab = 0; tab < ribbon.count(); ++tab) {
      SCOPED_TRACE(width);
      SCOPED_TRACE(ribbon.tabText(tab).toStdString());
      ribbon.setCurrentIndex(tab);
      QApplication::processEvents();
      std::vector<std::pair<QString, QRect>> parts;
      for (RibbonButton* b : ribbon.widget(tab)->findChildren<RibbonButton*>()) {
        if (!b->isVisible()) continue;
        EXPECT_GE(b->width(), b->minimumSizeHint().width()) << b->objectName().toStdString();
        EXPECT_GE(b->height(), b->minimumSizeHint().height()) << b->objectName().toStdString();
        const QSize text = b->CaptionSize(b->width() - 2 * RibbonButton::kPad);
        EXPECT_LE(text.width(), b->width() - 2 * RibbonButton::kPad) << b->objectName().toStdString();
        EXPECT_LE(text.height(), b->height() - 2 * RibbonButton::kPad) << b->objectName().toStdString();
        parts.emplace_back(b->objectName(), QRect(b->mapTo(&ribbon, QPoint()), b->size()));
      }
      for (QLabel* l : ribbon.widget(tab)->findChildren<QLabel*>()) {
        EXPECT_TRUE(l->isEnabled());
        const QRect text = l->fontMetrics().boundingRect(QRect(0, 0, l->width(), 1000), Qt::TextWordWrap, l->text());
        EXPECT_LE(text.width(), l->width()) << l->text().toStdString();
        EXPECT_LE(text.height(), l->height()) << l->text().toStdString();
        parts.emplace_back(l->text(), QRect(l->mapTo(&ribbon, QPoint()), l->size()));
      }
      EXPECT_FALSE(parts.empty());
      for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(ribbon.rect().contains(parts[i].second)) << parts[i].first.toStdString();
        for (size_t j = i + 1; j < parts.size(); ++j)
          EXPECT_FALSE(parts[i].second.intersects(parts[j].second))
              << parts[i].first.toStdString() << " / " << parts[j].first.toStdString();
      }
    }
  }
}

// "Stop" stands where "Coun&t matching files" stood, and no other button
// moves during a count or a run, at the default and the least width.
TEST(MainWindowRibbon, ButtonsKeepTheirPlacesDuringACountAndARun) {
  WindowFixture f;
  f.run.File("c/a.tmp", 1);
  f.run.list.Append(f.run.FolderType("First", cuDelete, "c"));
  TMainForm& w = f.Window();
  w.show();
  Ribbon& ribbon = w.RibbonBar();
  const auto places = [&] {
    std::map<std::string, QRect> out;
    for (int tab = 0; tab < ribbon.count(); ++tab) {
      ribbon.setCurrentIndex(tab);
      QApplication::processEvents();
      for (RibbonButton* b : ribbon.widget(tab)->findChildren<RibbonButton*>())
        out[b->objectName().toStdString()] = QRect(b->mapTo(&ribbon, QPoint()), b->size());
    }
    return out;
  };
  for (const int width : {650, 522}) {
    SCOPED_TRACE(width);
    w.resize(width, 463);
    f.Select(0);
    const auto idle = places();

    std::promise<void> release;
    f.run.clock.onToLocal = [held = release.get_future().share()] { held.wait(); };
    f.A().aCount->trigger();
    ASSERT_EQ(f.A().aCount->text(), QStringLiteral("Stop"));
    EXPECT_EQ(places(), idle);
    release.set_value();
    f.WaitIdle();
    f.run.clock.onToLocal = nullptr;

    RemovalGate gate(f.run.remover);
    f.A().act1->trigger();
    while (!gate.Waiting()) QApplication::processEvents();
    EXPECT_EQ(places(), idle);
    gate.Release();
    f.WaitIdle();
    f.run.File("c/a.tmp", 1);  // for the next width's run
  }
}

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.wizard = [](QWidget*, const TJunkFileObj&, bool) -> std::optional<TJunkFileObj> { return std::nullopt; };
    TMainForm& w = f.Window();
    f.run.list.Append(f.run.FolderType("One", cuDelete, "one"));
    f.run.list.Append(f.run.FolderType("Two", cuDelete, "two"));
    f.run.list.Append(f.run.FolderType("Three", cuDelete, "three"));
    f.Select(1);  // a middle row: both moves are enabled
    // Record what runs instead of running it.
    for (QAction* a : w.findChildren<QAction*>()) {
      if (a->objectName().isEmpty() || a->objectName().endsWith(QStringLiteral("Menu"))) continue;
      QObject::disconnect(a, &QAction::triggered, &w, nullptr);
      QObject::connect(a, &QAction::triggered, &w, [this, a] { ran.push_back(a->objectName().toStdString()); });
    }
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  std::vector<std::string> Press(QWidget* at, Qt::Key key, Qt::KeyboardModifiers mods) {
    ran.clear();
    QTest::keyClick(at, key, mods);
    return ran;
  }

  WindowFixture f;
  std::vector<std::string> ran;
};

using Ran = std::vector<std::string>;

TEST_F(KeyboardTest, AltAndAnUnderlinedLetterRunsItsRibbonCommand) {
  TMainForm& w = f.Window();
  Ribbon& ribbon = w.RibbonBar();
  for (RibbonButton* b : ribbon.Buttons()) {
    if (b->isHidden()) continue;
    SCOPED_TRACE(b->objectName().toStdString());
    for (int tab = 0; tab < ribbon.count(); ++tab)
      if (ribbon.widget(tab)->isAncestorOf(b)) ribbon.setCurrentIndex(tab);
    ASSERT_FALSE(b->Mnemonic().isNull());
    // A disabled command's letter runs nothing (nothing to undo here).
    const Ran expected = b->isEnabled() ? Ran{b->Command()->objectName().toStdString()} : Ran{};
    EXPECT_EQ(Press(&w, Qt::Key(b->Mnemonic().unicode()), Qt::AltModifier), expected);
  }
  // A letter of another tab shows that tab and runs its command.
  ribbon.setCurrentIndex(2);
  EXPECT_EQ(Press(&w, Qt::Key_C, Qt::AltModifier), Ran{"act1"});
  EXPECT_EQ(ribbon.currentIndex(), 0);
  // The hidden command's letter runs nothing.
  EXPECT_EQ(Press(&w, Qt::Key_O, Qt::AltModifier), Ran{});
  // Holding Alt shows the application menu's key tip "F"; Alt+F opens it.
  QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w;
  QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
  EXPECT_TRUE(ribbon.AppMenuKeyTip()->isVisible());
  EXPECT_EQ(ribbon.AppMenuKeyTip()->text(), QStringLiteral("F"));
  EXPECT_TRUE(ribbon.AppMenuButton()->rect().contains(ribbon.AppMenuKeyTip()->geometry()));
  QTest::keyRelease(focus, Qt::Key_Alt);
  EXPECT_FALSE(ribbon.AppMenuKeyTip()->isVisible());
  EXPECT_EQ(Press(&w, Qt::Key_F, Qt::AltModifier), Ran{});
  EXPECT_TRUE(ribbon.AppMenu()->isVisible());
  ribbon.AppMenu()->close();
}

TEST_F(KeyboardTest, MoveAndPropertiesShortcuts) {
  TMainForm& w = f.Window();
  auto* list = w.findChild<QListView*>(QStringLiteral("lvJunk"));
  auto* exit = w.findChild<QPushButton*>(QStringLiteral("btnExit"));
  list->setFocus();
  EXPECT_EQ(Press(list, Qt::Key_H, Qt::ControlModifier), Ran{"aUp"});
  EXPECT_EQ(Press(list, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier), Ran{"aUp"});
  f.Select(0);
  EXPECT_EQ(Press(list, Qt::Key_L, Qt::ControlModifier), Ran{"aDn"});
  exit->setFocus();
  // Away from the list only the commands' own shortcuts work.
  EXPECT_EQ(Press(exit, Qt::Key_L, Qt::ControlModifier), Ran{});
  EXPECT_EQ(Press(exit, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier), Ran{"aDn"});
  EXPECT_EQ(Press(exit, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier), Ran{"aProps"});
  EXPECT_EQ(Press(exit, Qt::Key_Return, Qt::ControlModifier), Ran{"aProps"});
}

}  // namespace
}  // namespace vorlo
