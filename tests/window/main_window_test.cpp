#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTest>
#include <QTreeView>
#include <QPushButton>
#include <tuple>

#include "core/junk_list_file.h"
#include "core/placement_ini.h"
#include "platform/file_lock.h"
#include "app/scheduled_run.h"
#include "support/env_guard.h"
#include "support/undoable.h"
#include "support/window_fixture.h"

namespace vorlo {
namespace {

// The first row of the defaults window for the fixture's folders.
const char* const kFirstDefault = "Visual Studio Code and Electron app caches";

using testing::RemovalGate;
using testing::WindowFixture;
using enum CleanupMethod;
using enum FolderRule;

// Each command's enabled state is `on`; a failure names the command.
void ExpectEnabled(const std::vector<QAction*>& commands, bool on) {
  for (const QAction* c : commands) EXPECT_EQ(c->isEnabled(), on) << WindowFixture::Name(c);
}

std::string Panel1(WindowFixture& f) {
  return f.Window().findChild<QLabel*>(QStringLiteral("panel1"))->text().toStdString();
}

std::vector<QAction*> RowCommands(const MainActions& a) {
  return {a.aRem, a.aProps, a.aCount, a.aCheckAll, a.aClearAll};
}

TEST(MainWindow, EnablingTableWhileIdle) {
  WindowFixture f;
  const MainActions& a = f.A();
  f.Window().UpdateActions();
  ExpectEnabled(RowCommands(a), false);
  ExpectEnabled({a.aUp, a.aDn, a.aCleanup, a.aUndo, a.aEdit, a.aAdd}, false);
  ExpectEnabled({a.aDefaults, a.act1, a.act10, a.act5, a.act9, a.Action1, a.Action3, a.aSchedule, a.aExit, a.aAbout}, true);
  EXPECT_FALSE(a.onlineUpdate->isVisible());
  // Nothing checked: no run, and the status bar says why.
  for (QAction* run : {a.act1, a.act10}) {
    f.Window().SetPanel(1, "");
    run->trigger();
    EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Idle);
    EXPECT_EQ(Panel1(f), "No junk file type is checked.") << WindowFixture::Name(run);
  }
  // The ribbon's move with nothing above, or nothing selected, says so too.
  a.act5->trigger();
  EXPECT_EQ(Panel1(f), "No junk file type is selected.");

  f.run.list.Append(f.run.FolderType("One", cuDelete, "one"));
  f.Select(0);
  ExpectEnabled(RowCommands(a), true);
  EXPECT_FALSE(a.aUp->isEnabled());
  EXPECT_FALSE(a.aDn->isEnabled());
  EXPECT_TRUE(a.aCleanup->isEnabled());
  a.act5->trigger();  // the ribbon's move on the first row does nothing
  EXPECT_EQ(f.Captions(), std::vector<std::string>{"One"});
  EXPECT_EQ(Panel1(f), "The selected junk file type is already the first.");

  f.run.list.Append(f.run.FolderType("Two", cuDelete, "two"));
  f.run.list.Append(f.run.FolderType("Three", cuDelete, "three"));
  f.Select(1);
  EXPECT_TRUE(a.aUp->isEnabled());
  EXPECT_TRUE(a.aDn->isEnabled());
  f.Check(0, false), f.Check(1, false), f.Check(2, false);
  f.Select(2);
  EXPECT_FALSE(a.aCleanup->isEnabled());
}

TEST(MainWindow, EnablingAndPinningDuringACountAndARun) {
  WindowFixture f;
  for (int i = 0; i < 3; ++i) f.run.File("c/" + std::to_string(i) + ".tmp", 1);
  f.run.list.Append(f.run.FolderType("First", cuDelete, "c"));
  f.run.list.Append(TJunkFileObj("Dated", true, cuDelete, FolderList{{f.run.dir / "tree/c", pFolAndSub}}, {"*.tmp"},
                                 {}, DateRestriction{true, 2, 0, 0}, {}, {}));
  const MainActions& a = f.A();
  f.Select(1);

  // The count waits in the clock until released.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  f.run.clock.onToLocal = [released] { released.wait(); };
  a.aCount->trigger();
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Counting);
  EXPECT_TRUE(a.aCount->isEnabled());
  EXPECT_EQ(a.aCount->statusTip(), "Stop counting files");
  ExpectEnabled({a.aCleanup, a.aRem, a.aAbout, a.aUp, a.aCheckAll}, false);
  ExpectEnabled({a.act1, a.act10, a.act5, a.act9, a.Action1, a.Action3, a.aSchedule}, true);
  a.act1->trigger();  // a count is active: no run, and the status bar says why
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Counting);
  EXPECT_EQ(Panel1(f), "A count is running. Stop it first.");
  f.Select(0);  // the highlight stays on the counted row
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(1));
  // Hints still reach panel 1 during a count.
  QStatusTipEvent tip(QStringLiteral("a hint"));
  QApplication::sendEvent(&f.Window(), &tip);
  EXPECT_EQ(f.Window().findChild<QLabel*>(QStringLiteral("panel1"))->text(), "a hint");
  release.set_value();
  f.WaitIdle();
  EXPECT_EQ(a.aCount->text(), "Coun&t matching files");
  ASSERT_FALSE(f.asked.empty());
  EXPECT_NE(f.asked.back().text.find("3 files matched"), std::string::npos);

  // A run: the first removal waits until released.
  f.run.clock.onToLocal = nullptr;
  RemovalGate gate(f.run.remover);
  f.Check(1, false);
  a.act1->trigger();
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Running);
  while (!gate.Waiting()) QApplication::processEvents();
  ExpectEnabled({a.aCleanup, a.act1, a.act10, a.act5, a.act9, a.Action1, a.Action3, a.aSchedule}, true);
  ExpectEnabled({a.aAdd, a.aUp, a.aAbout, a.aCount, a.aRem}, false);
  QApplication::sendEvent(&f.Window(), &tip);
  EXPECT_EQ(f.Window().findChild<QLabel*>(QStringLiteral("panel1"))->text(), "Now processing First...");
  // During the run a box click changes only the box.
  f.Check(1, true);
  EXPECT_FALSE(f.run.list[1].type->IsChecked());
  EXPECT_TRUE(f.run.list[1].checked);
  gate.Release();
  f.WaitIdle();
  EXPECT_NE(f.asked.back().text.find("Vorlo processed 2 junk file types"), std::string::npos) << f.asked.back().text;
}

// "Undo last clean-up": enabled once a clean-up can be undone, it asks
// first naming the run, puts the files back with the run's progress and
// ends with its summary; then there is nothing left to undo.
TEST(MainWindow, UndoLastCleanUpPutsTheFilesBack) {
  WindowFixture f;
  testing::Undoable u(f.run);
  const std::string x = f.run.File("u/x.tmp", 3), y = f.run.File("u/sub/y.tmp", 4);
  f.run.list.Append(f.run.FolderType("U", cuRecycle, "u"));
  const MainActions& a = f.A();
  f.Window().UpdateActions();
  EXPECT_FALSE(a.aUndoCleanup->isEnabled());
  a.act1->trigger();
  f.WaitIdle();
  ASSERT_FALSE(std::filesystem::exists(x));
  EXPECT_TRUE(a.aUndoCleanup->isEnabled());

  f.answers = {MsgButton::No};
  a.aUndoCleanup->trigger();
  EXPECT_EQ(f.asked.back().text,
            "Undo the clean-up of START? The 2 files it sent to the trash or moved to the holding folder will be put "
            "back where they were.");
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Idle);
  EXPECT_FALSE(std::filesystem::exists(x));

  f.answers = {MsgButton::Yes, MsgButton::No};
  a.aUndoCleanup->trigger();
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Running);
  ExpectEnabled({a.aUndoCleanup, a.aAdd, a.aRem}, false);
  EXPECT_TRUE(a.aCleanup->isEnabled());  // its stop
  f.WaitIdle();
  EXPECT_EQ(testing::ReadFile(x), "xxx");
  EXPECT_EQ(testing::ReadFile(y), "xxxx");
  EXPECT_EQ(f.asked.back().text, "Restored 2 of 2 files.\r\n\r\nDo you want to view the log file?");
  EXPECT_EQ(f.asked.back().helpContext, 15);
  EXPECT_FALSE(a.aUndoCleanup->isEnabled());
  const std::string log = testing::ReadFile(f.run.dir / "data/Vorlo.LOG.TXT");
  EXPECT_NE(log.find("Vorlo Undo - DATE  TIME"), std::string::npos) << log;
  EXPECT_NE(log.find("Putting back what the clean-up of START (run 1) removed"), std::string::npos);
  EXPECT_NE(log.find("\t" + y + "\r\n"), std::string::npos);
}

// After an analysis, "Review found files" (and the closing message's Review
// button) opens the review; its "Clean up ticked files" removes exactly the
// ticked files, through the run's own clean-up.
TEST(MainWindow, ReviewFoundFilesAndCleanUpTheTickedOnes) {
  WindowFixture f;
  testing::Undoable u(f.run);
  const std::string keep = f.run.File("r/keep.tmp", 3), go = f.run.File("r/go.tmp", 4);
  f.run.list.Append(f.run.FolderType("R", cuRecycle, "r"));
  const MainActions& a = f.A();
  f.Window().UpdateActions();
  EXPECT_FALSE(a.aReview->isEnabled());

  f.answers = {MsgButton::Review};
  bool cleaned = false;
  // The review, once it is up: untick keep.tmp, clean up the rest.
  std::function<void()> drive = [&] {
    auto* review = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    auto* tree = review ? review->findChild<QTreeView*>(QStringLiteral("tvFound")) : nullptr;
    if (tree == nullptr) return QTimer::singleShot(10, drive);
    QAbstractItemModel* model = tree->model();
    const QModelIndex type = model->index(0, 0);
    for (int r = 0; r < model->rowCount(type); ++r)
      if (model->index(r, 1, type).data().toString() == QStringLiteral("keep.tmp"))
        model->setData(model->index(r, 0, type), Qt::Unchecked, Qt::CheckStateRole);
    f.answers = {MsgButton::No};
    review->findChild<QPushButton*>(QStringLiteral("btnCleanUp"))->click();
    cleaned = true;
  };
  QTimer::singleShot(10, drive);
  a.act10->trigger();
  f.WaitIdle();
  while (!cleaned) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  f.WaitIdle();
  EXPECT_NE(std::find(f.asked[0].buttons.begin(), f.asked[0].buttons.end(), MsgButton::Review), f.asked[0].buttons.end());
  EXPECT_TRUE(std::filesystem::exists(keep));
  EXPECT_FALSE(std::filesystem::exists(go));
  EXPECT_TRUE(std::filesystem::exists(u.Trashed("go.tmp")));
  EXPECT_NE(f.asked.back().text.find("removed 1 junk files"), std::string::npos) << f.asked.back().text;
  EXPECT_TRUE(a.aReview->isEnabled());
  EXPECT_TRUE(a.aUndoCleanup->isEnabled());
}

// A mouse click on a row's check box, as the person makes it.
void ClickBox(WindowFixture& f, int row) {
  auto* view = f.Window().findChild<QListView*>(QStringLiteral("lvJunk"));
  const QRect r = view->visualRect(f.Model().index(row, 0));
  const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
  const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(r.left() + margin + box / 2, r.center().y()));
  QApplication::processEvents();
}

TEST(MainWindow, BoxClickedDuringARunReachesTheTypeAtTheRowsNextIdleChange) {
  WindowFixture f;
  f.run.File("c/a.tmp", 1);
  for (const char* name : {"First", "Second", "Third"}) f.run.list.Append(f.run.FolderType(name, cuDelete, "c"));
  f.Window().show();
  ClickBox(f, 1);  // idle: the box and the type follow, and the row is selected
  EXPECT_FALSE(f.run.list[1].checked);
  EXPECT_FALSE(f.run.list[1].type->IsChecked());
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(1));
  ExpectEnabled({f.A().aRem, f.A().aProps, f.A().aCount}, true);
  ClickBox(f, 1);
  ASSERT_TRUE(f.run.list[1].type->IsChecked());

  RemovalGate gate(f.run.remover);
  f.A().act1->trigger();
  while (!gate.Waiting()) QApplication::processEvents();
  ClickBox(f, 2);  // a later row: only its box changes, the highlight stays
  EXPECT_FALSE(f.run.list[2].checked);
  EXPECT_TRUE(f.run.list[2].type->IsChecked());
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(0));
  gate.Release();
  f.WaitIdle();
  EXPECT_NE(f.asked.back().text.find("Vorlo processed 2 junk file types"), std::string::npos) << f.asked.back().text;
  EXPECT_TRUE(f.run.list[2].type->IsChecked());  // nothing has touched the row since

  f.Select(2);  // its first change while idle copies the box into the type
  EXPECT_FALSE(f.run.list[2].type->IsChecked());
  EXPECT_FALSE(LoadJTFromFile(f.Recovery()).types[2].IsChecked());
  f.Model().setData(f.Model().index(0, 0), QStringLiteral("Renamed"), Qt::EditRole);  // a later write keeps it
  const std::vector<TJunkFileObj> stored = LoadJTFromFile(f.Recovery()).types;
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].TypName(), "Renamed");
  EXPECT_FALSE(stored[2].IsChecked());
  EXPECT_TRUE(stored[1].IsChecked());
}

// A row added by the wizard or the defaults window, or restored by undo,
// comes at the end of a list longer than the window: it is selected and
// scrolled into view, so the command is seen to have worked.
TEST(MainWindow, AddedAndRestoredRowsAreSelectedAndShown) {
  WindowFixture f;
  for (int i = 0; i < 40; ++i) f.run.list.Append(f.run.FolderType("Row " + std::to_string(i), cuDelete, "x"));
  f.wizard = [&](QWidget*, const TJunkFileObj&, bool) { return std::optional(f.run.FolderType("New", cuDelete, "n")); };
  const auto acceptDefaults = [] {
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->accept();
    });
  };
  auto* view = f.Window().findChild<QListView*>(QStringLiteral("lvJunk"));
  const auto shown = [&](size_t row) {
    QApplication::processEvents();
    return view->viewport()->rect().contains(view->visualRect(f.Model().index(static_cast<int>(row), 0)));
  };
  f.Window().show();
  const MainActions& a = f.A();
  f.Select(1);
  a.aRem->trigger();  // something to undo
  f.Select(0);
  ASSERT_FALSE(shown(f.run.list.size() - 1));
  for (const auto& [what, command] : std::vector<std::pair<const char*, std::function<void()>>>{
           {"add", [&] { a.aAdd->trigger(); }},
           {"undo", [&] { a.aUndo->trigger(); }},
           {"default", [&] { acceptDefaults(), a.act9->trigger(); }}}) {
    f.Select(0);
    const size_t rows = f.run.list.size();
    command();
    ASSERT_EQ(f.run.list.size(), rows + 1) << what;
    EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(rows)) << what;
    EXPECT_TRUE(shown(rows)) << what;
    ExpectEnabled({a.aEdit, a.aRem, a.aProps, a.aCount, a.aUp}, true);
  }
  EXPECT_EQ(f.Captions()[39], "New");
  EXPECT_EQ(f.Captions()[40], "Row 1");
  EXPECT_EQ(f.Captions()[41], kFirstDefault);

  // During a run the ribbon's add leaves the highlight on the processed row
  // and only brings the new row into view.
  f.run.File("c/a.tmp", 1);
  f.run.list[1].type = std::make_unique<TJunkFileObj>(f.run.FolderType("New", cuDelete, "c"));
  a.aClearAll->trigger();
  f.Check(1, true);
  RemovalGate gate(f.run.remover);
  a.act1->trigger();
  while (!gate.Waiting()) QApplication::processEvents();
  ASSERT_EQ(f.Window().SelectedRow(), std::optional<size_t>(1));
  f.answers = {MsgButton::Yes};  // identical to row 1: add it all the same
  a.act2->trigger();
  EXPECT_EQ(f.run.list.size(), 43u);
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(1));
  EXPECT_TRUE(shown(42));
  gate.Release();
  f.WaitIdle();
}

TEST(MainWindow, MethodSubmenuOffersTheRecycleBinOnlyWhileItIsUsable) {
  for (const bool problem : {false, true}) {
    WindowFixture f;
    if (problem) f.run.binSettings = {{f.run.dir / "tree", true, false, 100}};
    f.run.list.Append(f.run.FolderType("Hold", cuHolding, "h"));
    const MainActions& a = f.A();
    auto* submenu = f.Window().findChild<QMenu*>(QStringLiteral("mnuMethodAll"));
    ASSERT_NE(submenu, nullptr);
    submenu->popup(QPoint());  // the check runs as the submenu opens
    submenu->hide();
    EXPECT_EQ(a.mnuRecycleAll->isEnabled(), !problem);
    ExpectEnabled({a.mnuBackupAll, a.mnuDeleteAll}, true);
  }
}

TEST(MainWindow, RowStateHandlerRefusesBinTypesWhileTheBinIsUnusable) {
  WindowFixture f;
  f.run.binSettings = {{f.run.dir / "tree", true, false, 100}};
  f.run.list.Append(f.run.FolderType("Bin", cuRecycle, "b"));
  f.run.list.Append(f.run.FolderType("Hold", cuHolding, "h"));
  f.Window();
  f.Check(0, false);
  f.Check(0, true);
  ASSERT_EQ(f.asked.size(), 1u);
  EXPECT_EQ(f.asked[0].kind, MsgKind::Error);
  EXPECT_EQ(f.asked[0].helpContext, 12);
  EXPECT_NE(f.asked[0].text.find("This junk file type sends files to the Recycle Bin. You cannot enable it at this "
                                 "time."),
            std::string::npos);
  EXPECT_FALSE(f.run.list[0].checked);
  EXPECT_FALSE(f.run.list[0].type->IsChecked());
  f.Check(1, false);
  EXPECT_FALSE(f.run.list[1].type->IsChecked());

  // Check all: one refusal per bin type.
  f.asked.clear();
  f.Select(0);
  f.A().aCheckAll->trigger();
  EXPECT_EQ(f.asked.size(), 1u);
  EXPECT_TRUE(f.run.list[1].type->IsChecked());
  EXPECT_FALSE(f.run.list[0].checked);
  const std::vector<TJunkFileObj> stored = LoadJTFromFile(f.Recovery()).types;  // the refusal is stored too
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_FALSE(stored[0].IsChecked());
  EXPECT_TRUE(stored[1].IsChecked());
}

TEST(MainWindow, RenameRemoveUndoMoveAndMethodForAll) {
  WindowFixture f;
  for (const char* name : {"A", "B", "C"}) f.run.list.Append(f.run.FolderType(name, cuDelete, "x"));
  f.Window();
  QAbstractItemModel& m = f.Model();

  m.setData(m.index(0, 0), QString(), Qt::EditRole);  // empty: keeps the name, writes nothing
  EXPECT_EQ(f.Captions()[0], "A");
  EXPECT_FALSE(std::filesystem::exists(f.Recovery()));
  m.setData(m.index(0, 0), QStringLiteral("a"), Qt::EditRole);  // another case is another name
  EXPECT_EQ(f.run.list[0].type->TypName(), "a");
  EXPECT_EQ(LoadJTFromFile(f.Recovery()).types[0].TypName(), "a");

  f.Select(2);
  f.A().aRem->trigger();  // the last row: the new last row is selected
  EXPECT_EQ(f.Captions(), (std::vector<std::string>{"a", "B"}));
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(1));
  f.A().aRem->trigger();
  f.A().aUndo->trigger();  // only the second removal comes back, at the end
  EXPECT_EQ(f.Captions(), (std::vector<std::string>{"a", "B"}));
  EXPECT_FALSE(f.A().aUndo->isEnabled());
  EXPECT_EQ(LoadJTFromFile(f.Recovery()).types.size(), 2u);

  f.Check(1, false);
  f.Select(1);
  f.A().aUp->trigger();  // the type keeps its box and stays selected
  EXPECT_EQ(f.Captions(), (std::vector<std::string>{"B", "a"}));
  EXPECT_FALSE(f.run.list[0].checked);
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(0));
  EXPECT_EQ(LoadJTFromFile(f.Recovery()).types[0].TypName(), "B");  // the move is stored

  f.A().mnuBackupAll->trigger();
  EXPECT_EQ(f.run.list[0].type->Backtype(), cuHolding);
  EXPECT_EQ(f.run.list[1].type->Backtype(), cuHolding);
  f.A().aClearAll->trigger();
  EXPECT_FALSE(f.run.list[1].checked);
  EXPECT_FALSE(f.run.list[1].type->IsChecked());

  f.Select(0);
  f.A().aRem->trigger();
  f.A().aRem->trigger();  // the only row: nothing selected, undo enabled
  EXPECT_TRUE(f.run.list.empty());
  EXPECT_FALSE(f.Window().SelectedRow());
  EXPECT_TRUE(f.A().aUndo->isEnabled());
}

TEST(MainWindow, SafeAddAsksOncePerIdenticalRow) {
  WindowFixture f;
  f.run.list.Append(f.run.FolderType("One", cuDelete, "x"));
  f.run.list.Append(f.run.FolderType("Two", cuDelete, "x"));
  f.wizard = [&](QWidget*, const TJunkFileObj&, bool) { return std::optional(f.run.FolderType("New", cuDelete, "X")); };
  f.Window();
  f.Window().UpdateActions();
  EXPECT_TRUE(f.A().aAdd->isEnabled());
  f.answers = {MsgButton::Yes, MsgButton::No};
  f.A().aAdd->trigger();
  ASSERT_EQ(f.asked.size(), 2u);
  EXPECT_EQ(f.asked[0].text,
            "You are trying to add a junk file type that is identical in function to the existing junk file type "
            "\"One\". Continue?");
  EXPECT_EQ(f.asked[1].kind, MsgKind::Question);
  EXPECT_EQ(f.run.list.size(), 2u);
  EXPECT_EQ(LoadJTFromFile(f.Recovery()).types.size(), 2u);  // written all the same

  f.answers = {MsgButton::Yes, MsgButton::Yes};
  f.A().act2->trigger();
  EXPECT_EQ(f.Captions().back(), "New");
}

TEST(MainWindow, StartUpPaths) {
  {  // First start: the default table, nothing written.
    WindowFixture f;
    EXPECT_TRUE(f.Window().FormCreate());
    EXPECT_GE(f.run.list.size(), 33u);
    EXPECT_TRUE(f.asked.empty());
    EXPECT_FALSE(std::filesystem::exists(f.Recovery()));
    EXPECT_FALSE(std::filesystem::exists(f.DataFile()));
  }
  {  // Recovery file: Yes restores it (even when empty); No takes the data file.
    WindowFixture f;
    SaveJTToFile(f.Recovery(), {});
    SaveJTToFile(f.DataFile(), std::vector<TJunkFileObj>(2));
    f.answers = {MsgButton::Yes};
    EXPECT_TRUE(f.Window().FormCreate());
    EXPECT_EQ(f.asked[0].text, "It appears that was not shut down properly. Attempt to restore changed data from the "
                               "previous session?");
    EXPECT_TRUE(f.run.list.empty());
  }
  {
    WindowFixture f;
    SaveJTToFile(f.Recovery(), std::vector<TJunkFileObj>(1));
    SaveJTToFile(f.DataFile(), std::vector<TJunkFileObj>(2));
    EXPECT_TRUE(f.Window().FormCreate());  // answered No
    EXPECT_EQ(f.run.list.size(), 2u);
  }
  {  // A corrupt data file: the good records, an error, and the file kept aside.
    WindowFixture f;
    SaveJTToFile(f.DataFile(), std::vector<TJunkFileObj>(3));
    const std::string whole = testing::ReadFile(f.DataFile());
    f.run.dir.Write("data/Vorlo.DAT", whole.substr(0, whole.size() - 4));
    EXPECT_TRUE(f.Window().FormCreate());
    EXPECT_EQ(f.run.list.size(), 2u);
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].kind, MsgKind::Error);
    EXPECT_NE(f.asked[0].text.find("Vorlo.DAT.bad"), std::string::npos);
    EXPECT_EQ(testing::ReadFile(f.DataFile() + ".bad"), whole.substr(0, whole.size() - 4));
  }
  {  // A data file that cannot be read at all: an error, no defaults, and the window is not shown.
    WindowFixture f;
    std::filesystem::create_directory(f.DataFile());
    EXPECT_FALSE(f.Window().FormCreate());
    EXPECT_TRUE(f.run.list.empty());
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].kind, MsgKind::Error);
    EXPECT_TRUE(f.asked[0].text.starts_with("Cannot read " + f.DataFile() + ": Is a directory"));
    EXPECT_TRUE(std::filesystem::is_directory(f.DataFile()));
  }
}

// No to the restore question sets the recovery file aside, replacing an
// older one, so that neither this close nor any later one makes it the data
// file. Where it cannot be set aside it is said, and it is not promoted.
TEST(MainWindow, ADeclinedRestoreStaysDeclined) {
  WindowFixture f;
  SaveJTToFile(f.Recovery(), std::vector<TJunkFileObj>{f.run.FolderType("Declined", cuDelete, "d")});
  SaveJTToFile(f.DataFile(), std::vector<TJunkFileObj>(2));
  const std::string declined = f.Recovery() + ".declined", stored = testing::ReadFile(f.DataFile());
  const std::string recovered = testing::ReadFile(f.Recovery());
  f.run.dir.Write("data/Vorlo.D$$.declined", "older");
  const auto restart = [&f] {
    f.Window().close();
    f.window.reset();
    f.run.list.Clear();
    f.asked.clear();
    EXPECT_TRUE(f.Window().FormCreate());
  };
  EXPECT_TRUE(f.Window().FormCreate());  // answered No
  ASSERT_EQ(f.asked.size(), 1u);
  EXPECT_EQ(f.run.list.size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(f.Recovery()));
  EXPECT_EQ(testing::ReadFile(declined), recovered);
  for (int i = 0; i < 2; ++i) {
    restart();
    EXPECT_TRUE(f.asked.empty());  // nothing left to restore
    EXPECT_EQ(testing::ReadFile(f.DataFile()), stored);
    EXPECT_EQ(f.Captions().size(), 2u);
  }
  EXPECT_EQ(testing::ReadFile(declined), recovered);

  // A declined file that cannot be set aside is named, and kept from the
  // data file until this session writes a list of its own.
  f.Window().close();
  f.window.reset();
  f.run.list.Clear();
  std::filesystem::remove(declined);
  std::filesystem::create_directories(declined + "/in-the-way");
  SaveJTToFile(f.Recovery(), std::vector<TJunkFileObj>(1));
  f.asked.clear();
  EXPECT_TRUE(f.Window().FormCreate());
  ASSERT_EQ(f.asked.size(), 2u);
  EXPECT_EQ(f.asked[1].kind, MsgKind::Error);
  EXPECT_TRUE(f.asked[1].text.starts_with("Cannot set aside " + f.Recovery() + " as " + declined + ": "))
      << f.asked[1].text;
  f.Window().close();
  EXPECT_EQ(testing::ReadFile(f.DataFile()), stored);
  EXPECT_TRUE(std::filesystem::exists(f.Recovery()));
}

TEST(MainWindow, ActivationDisablesBinTypesAndCloseReplacesTheDataFile) {
  WindowFixture f;
  f.run.binSettings = {{f.run.dir / "tree", true, false, 100}};
  for (int i = 0; i < 3; ++i) f.run.list.Append(f.run.FolderType("Bin", cuRecycle, "b"));
  f.run.list.Append(f.run.FolderType("Hold", cuHolding, "h"));
  f.Window().FormActivate();
  ASSERT_EQ(f.asked.size(), 1u);
  EXPECT_NE(f.asked[0].text.find("3 junk file types that rely on the Recycle Bin have been disabled."),
            std::string::npos);
  EXPECT_EQ(f.Window().SelectedRow(), std::optional<size_t>(0));
  for (const TJunkFileObj& t : LoadJTFromFile(f.Recovery()).types)  // the unchecking is stored
    EXPECT_EQ(t.IsChecked(), t.Backtype() != cuRecycle) << t.TypName();

  f.Select(3);
  f.A().aRem->trigger();  // writes the recovery file
  ASSERT_TRUE(std::filesystem::exists(f.Recovery()));
  f.Window().close();
  EXPECT_FALSE(std::filesystem::exists(f.Recovery()));
  EXPECT_EQ(LoadJTFromFile(f.DataFile()).types.size(), 3u);
}

// Each row's caption, box and stored checked flag, in list order.
std::vector<std::tuple<std::string, bool, bool>> Rows(const JunkList& list) {
  std::vector<std::tuple<std::string, bool, bool>> out;
  for (size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i].caption, list[i].checked, list[i].type->IsChecked());
  return out;
}

TEST(MainWindow, ChecksOrderAndMethodsSurviveACloseAndRestart) {
  WindowFixture f;
  const auto restart = [&f] {
    f.Window().close();
    EXPECT_FALSE(std::filesystem::exists(f.Recovery()));
    f.window.reset();
    f.run.list.Clear();
    ASSERT_TRUE(f.Window().FormCreate());
    f.Window().FormActivate();
  };
  ASSERT_TRUE(f.Window().FormCreate());
  f.Window().FormActivate();
  const auto defaults = Rows(f.run.list);
  ASSERT_GE(defaults.size(), 3u);
  restart();  // a first start left unchanged stores nothing
  EXPECT_FALSE(std::filesystem::exists(f.DataFile()));
  EXPECT_EQ(Rows(f.run.list), defaults);

  f.Check(0, false);
  f.Select(2);
  f.A().aUp->trigger();
  auto left = Rows(f.run.list);
  EXPECT_FALSE(std::get<1>(left[0]));
  EXPECT_EQ(std::get<0>(left[1]), std::get<0>(defaults[2]));
  restart();
  EXPECT_EQ(Rows(f.run.list), left);

  f.Select(0);
  f.A().aClearAll->trigger();
  f.A().mnuBackupAll->trigger();
  left = Rows(f.run.list);
  restart();
  EXPECT_EQ(Rows(f.run.list), left);
  EXPECT_FALSE(f.run.list.AnyChecked());
  for (size_t i = 0; i < f.run.list.size(); ++i) EXPECT_EQ(f.run.list[i].type->Backtype(), cuHolding) << i;

  // The Recycle Bin's unchecking when a run starts is stored as well.
  f.Select(0);
  f.A().aCheckAll->trigger();
  f.A().mnuRecycleAll->trigger();
  f.run.list.Append(f.run.FolderType("Hold", cuHolding, "h"));
  f.run.binSettings = {{f.run.dir / "tree", true, false, 100}};
  f.answers = {MsgButton::No};  // the run is declined
  f.A().act10->trigger();
  for (const TJunkFileObj& t : LoadJTFromFile(f.Recovery()).types)
    EXPECT_EQ(t.IsChecked(), t.Backtype() != cuRecycle) << t.TypName();
}

TEST(MainWindow, PlacementRestoredAtStartAndSavedWhenClosed) {
  WindowFixture f;
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  const int left = work.x() + 30, top = work.y() + 40;
  f.placements.text = "[MainForm Settings]\r\nLeft=" + std::to_string(left) + "\r\nTop=" + std::to_string(top) +
                      "\r\nRight=" + std::to_string(left + 600) + "\r\nBottom=" + std::to_string(top + 450) + "\r\n";
  EXPECT_TRUE(f.Window().FormCreate());
  EXPECT_EQ(f.Window().geometry(), QRect(left, top, 600, 450));

  f.Window().show();
  f.Window().setGeometry(left + 10, top + 20, 640, 470);
  QApplication::processEvents();
  EXPECT_EQ(f.placements.saves, 0);
  f.Window().close();
  ASSERT_EQ(f.placements.saves, 1);
  const IniDocument saved = f.placements.Doc();
  EXPECT_EQ(saved.Keys("MainForm Settings").size(), 10u);  // the size too
  EXPECT_EQ(saved.IntValue("MainForm Settings", "Left"), left + 10);
  EXPECT_EQ(saved.IntValue("MainForm Settings", "Bottom"), top + 20 + 470);
}

TEST(MainWindow, YesAtTheEndOfARunOpensTheLogThroughThePort) {
  WindowFixture f;
  f.run.File("c/a.tmp", 1);
  f.run.list.Append(f.run.FolderType("First", cuDelete, "c"));
  f.port.defaultYes = true;
  f.A().act1->trigger();
  f.WaitIdle();
  EXPECT_EQ(f.port.opened, std::vector<std::string>{f.run.dir / "data/Vorlo.LOG.TXT"});
  EXPECT_EQ(f.asked.back().kind, MsgKind::Confirmation);  // nothing after the closing question

  // A desktop with no program for the log: the person is told where it is.
  f.opens = false;
  f.A().act10->trigger();
  f.WaitIdle();
  EXPECT_EQ(f.port.opened.back(), f.run.dir / "data/Vorlo.TEST.TXT");
  EXPECT_EQ(f.asked.back().kind, MsgKind::Information);
  EXPECT_EQ(f.asked.back().text,
            "No program could open the log. You will find it here:\r\n\r\n" + (f.run.dir / "data/Vorlo.TEST.TXT"));
}

// One window per data folder: a second is refused with a message while the
// first holds the folder's list. A run refused because another one is using
// the folder says so in a message box and removes nothing.
TEST(MainWindow, SecondWindowAndSecondRunOnOneDataFolderAreRefused) {
  WindowFixture f;
  const std::string folder = f.run.dir / "data/";
  const std::string x = f.run.File("c/a.tmp", 1);
  f.run.list.Append(f.run.FolderType("First", cuDelete, "c"));
  {
    FileLock firstWindow;
    ASSERT_EQ(firstWindow.TryExclusive(folder + "Vorlo.window.lock"), 0);
    EXPECT_FALSE(f.Window().ClaimDataFolder());
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].kind, MsgKind::Error);
    EXPECT_EQ(f.asked[0].text, "Vorlo is already open on the data folder " + folder +
                                   ". Use that window, or close it and start Vorlo again.");
  }
  EXPECT_TRUE(f.Window().ClaimDataFolder());
  FileLock secondWindow, otherRun;
  EXPECT_EQ(secondWindow.TryExclusive(folder + "Vorlo.window.lock"), EWOULDBLOCK);

  ASSERT_EQ(otherRun.TryExclusive(folder + "Vorlo.lock"), 0);
  f.A().act1->trigger();
  EXPECT_EQ(f.Window().Runs().VeryBusy(), RunState::Idle);
  ASSERT_EQ(f.asked.size(), 2u);
  EXPECT_EQ(f.asked[1].kind, MsgKind::Error);
  EXPECT_EQ(f.asked[1].text.substr(0, 43), "Another Vorlo run is using the data folder ");
  EXPECT_TRUE(f.run.remover.Exists(x));
  EXPECT_TRUE(f.A().act1->isEnabled());
}

TEST(MainWindow, NeverNarrowerThanTheMinimum) {
  WindowFixture f;
  f.Window().show();
  f.Window().resize(500, 400);
  QApplication::processEvents();
  EXPECT_EQ(f.Window().width(), 522);
}

TEST(MainWindow, DefaultsAndPropertiesOpenTheirWindows) {
  WindowFixture f;
  f.run.list.Append(f.run.FolderType("Mine", cuDelete, "x"));
  f.Window();
  // OK in the defaults window adds its selected (first) type.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Vorlo - Default junk file types");
    dialog->accept();
  });
  f.A().act9->trigger();
  ASSERT_EQ(f.run.list.size(), 2u);
  EXPECT_EQ(f.Captions()[1], kFirstDefault);
  EXPECT_EQ(LoadJTFromFile(f.Recovery()).types.size(), 2u);

  f.Select(0);
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown = dialog->windowTitle();
    dialog->accept();
  });
  f.A().aProps->trigger();
  EXPECT_EQ(shown, "Vorlo - junk file type properties");
}

// The schedule dialog reads the schedule through the window's service
// manager and records its runs in the window's data folder.
TEST(MainWindow, ScheduleOpensItsDialog) {
  WindowFixture f;
  testing::EnvGuard env;
  env.Set("XDG_CONFIG_HOME", f.run.dir / "config");
  f.Window();
  ASSERT_EQ(RecordScheduledRun(DataFiles(f.run.dir / "data"), {.files = 2, .bytes = 10, .errors = 0, .skipped = {}}), 0);
  QString status;
  QTimer::singleShot(0, [&status] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Scheduled clean-up");
    status = dialog->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
    dialog->reject();
  });
  f.A().aSchedule->trigger();
  EXPECT_EQ(status, "Schedule: off\nLast outcome: Removed 2 files (10 bytes).");
  EXPECT_EQ(f.serviceManager.calls, std::vector<std::string>{"show --property=Version"});
}

TEST(MainWindow, ClosingDuringARunStopsItFirst) {
  WindowFixture f;
  for (int i = 0; i < 3; ++i) f.run.File("c/" + std::to_string(i) + ".tmp", 1);
  f.run.list.Append(f.run.FolderType("First", cuDelete, "c"));
  f.Window().show();
  RemovalGate gate(f.run.remover);
  f.A().act1->trigger();
  while (!gate.Waiting()) QApplication::processEvents();
  f.Window().close();
  EXPECT_TRUE(f.Window().isVisible());  // not yet: the run is stopping
  gate.Release();
  f.WaitIdle();
  QApplication::processEvents();
  EXPECT_FALSE(f.Window().isVisible());
  EXPECT_NE(f.run.Log().find("**** PROCESSING HALTED BY USER ****"), std::string::npos);
}

}  // namespace
}  // namespace vorlo
