#include "editor/type_wizard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/local_drives.h"
#include "core/text.h"
#include "editor/folder_picker.h"
#include "editor/spec_editors.h"
#include "platform/clock.h"
#include "support/memory_placements.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using enum WizardPage;
using testing::ReadFile;
using testing::TempDir;
using enum CleanupMethod;
using enum FolderRule;

class FixedClock final : public Clock {
 public:
  int64_t NowUtc() const override { return 1765000000; }
  std::optional<LocalDateTime> ToLocal(int64_t) const override { return LocalDateTime{2025, 12, 6, 12, 0, 0}; }
};

TJunkFileObj Type(std::string name, CleanupMethod method, FolderList dirs, SpecList dels, SpecList prots = {},
                  bool checked = true) {
  return TJunkFileObj(std::move(name), checked, method, dirs, dels, prots, {}, {}, {});
}

class WizardTest : public ::testing::Test {
 protected:
  WizardTest()
      : drives(
            [this] {
              // A closed gate holds a count at its start (the scan asks for
              // the drives first), so a test can stop it at a known point.
              while (gateClosed) std::this_thread::sleep_for(std::chrono::milliseconds(2));
              return std::string();
            },
            [](const MountEntry&) { return false; }) {
    std::filesystem::create_directories(dir / "data");
  }

  TTypeWiz& Make(const TJunkFileObj& tj = TJunkFileObj(), bool binProb = false) {
    wiz = std::make_unique<TTypeWiz>(WizardSetup{.drives = drives,
                                                  .placements = placements,
                                                  .files = DataFiles(dir / "data/"),
                                                  .clock = clock,
                                                  .description = {"Local drives (/)", "/"},
                                                  .separators = {",", "."},
                                                  .programFolder = dir / "program",
                                                  .skipFolders = {},
                                                  .runActive = [this] { return runActive; }});
    wiz->SetFromObj(tj, binProb);
    return *wiz;
  }

  template <class W>
  W* Get(const char* name) {
    W* w = wiz->findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
  bool Enabled(const char* name) { return Button(name)->isEnabled(); }
  std::string Text(const char* label) { return Get<QLabel>(label)->text().toStdString(); }
  void Click(const char* name) { Button(name)->click(); }

  // The next modal dialog gets `act` once it shows.
  void OnNextModal(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, wiz.get(), [act] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      act(*d);
    });
  }
  void AddDelete(const std::string& spec) {
    OnNextModal([spec](QDialog& d) {
      static_cast<TSpecForm&>(d).SetSpec(spec);
      d.accept();
    });
    Click("aDelAdd");
  }
  void GoTo(WizardPage page) {
    while (wiz->CurrentPage() < page) wiz->aNextExecute();
    while (wiz->CurrentPage() > page) wiz->aBackExecute();
  }
  void WaitCount() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (wiz->Counting() && std::chrono::steady_clock::now() < until)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(wiz->Counting());
  }

  TempDir dir;
  testing::MemoryPlacements placements;
  FixedClock clock;
  std::atomic<bool> gateClosed{false};
  bool runActive = false;
  LocalDriveSource drives;
  std::unique_ptr<TTypeWiz> wiz;
};

TEST_F(WizardTest, NewItemNeedsANameAndADeleteSpecification) {
  Make();
  EXPECT_EQ(wiz->CurrentPage(), nbpgName);
  EXPECT_FALSE(Enabled("btnNext"));
  EXPECT_FALSE(Enabled("btnFinish"));
  EXPECT_FALSE(Enabled("btnBack"));
  EXPECT_TRUE(Get<QCheckBox>("cbEnabled")->isChecked());
  EXPECT_TRUE(Get<QRadioButton>("rbRecycle")->isChecked());
  auto* dirs = Get<QTreeWidget>("lvDirs");
  ASSERT_EQ(dirs->topLevelItemCount(), 1);
  EXPECT_EQ(dirs->topLevelItem(0)->text(0).toStdString(), "Local drives (/)");
  EXPECT_TRUE(dirs->topLevelItem(0)->text(1).isEmpty());
  EXPECT_FALSE(Enabled("adirClear"));

  auto* name = Get<QLineEdit>("ebName");
  name->setText(QString(40, QChar('x')));
  EXPECT_EQ(name->text().size(), 32);
  EXPECT_TRUE(Enabled("btnNext"));
  EXPECT_FALSE(Enabled("btnFinish"));

  // A disabled button's hint reaches the status bar through its panel.
  name->clear();
  QWidget* bar = Get<QWidget>("pnlMain");
  const QPoint at = Button("btnNext")->geometry().center();
  QMouseEvent move(QEvent::MouseMove, QPointF(at), bar->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(bar, &move);
  EXPECT_EQ(Get<QStatusBar>("StatusBar")->currentMessage().toStdString(), "Proceed to the next step (disabled)");
  name->setText(QStringLiteral("Temp"));

  GoTo(nbpgDels);
  EXPECT_TRUE(Enabled("btnBack"));
  EXPECT_FALSE(Enabled("btnNext"));
  AddDelete("*.tmp");
  EXPECT_TRUE(Enabled("btnNext"));
  EXPECT_TRUE(Enabled("btnFinish"));

  // Removing the only line leaves no selection and holds up Next and Finish.
  auto* dels = Get<QListWidget>("lbDels");
  dels->setCurrentRow(0);
  Click("adelRem");
  EXPECT_EQ(dels->count(), 0);
  EXPECT_EQ(dels->currentRow(), -1);
  EXPECT_FALSE(Enabled("btnNext"));
  EXPECT_FALSE(Enabled("btnFinish"));
  EXPECT_FALSE(Enabled("adelClear"));
}

// While Next or Finish is disabled, the status bar says why; a hint shown
// over it hides it until the hint goes.
TEST_F(WizardTest, ADisabledNextOrFinishSaysWhy) {
  Make();
  wiz->show();
  auto* reason = Get<QLabel>("lblReason");
  auto* bar = Get<QStatusBar>("StatusBar");
  const auto shown = [&] { return reason->isVisible() ? reason->text().toStdString() : std::string(); };
  EXPECT_EQ(shown(), "Enter a name for this junk file type.");
  bar->showMessage(QStringLiteral("a hint"));
  EXPECT_EQ(shown(), "");
  bar->clearMessage();
  EXPECT_EQ(shown(), "Enter a name for this junk file type.");

  bar->showMessage(QStringLiteral("a hint"));
  Get<QLineEdit>("ebName")->setText(QStringLiteral("Temp"));
  ASSERT_TRUE(Enabled("btnNext"));
  EXPECT_EQ(shown(), "Add a file specification to process.");  // a new reason shows at once
  GoTo(nbpgDels);
  EXPECT_EQ(shown(), "Add a file specification to process.");
  AddDelete("*.tmp");
  EXPECT_EQ(shown(), "");
  Get<QCheckBox>("ckRstSize")->click();  // on, but no comparison yet
  ASSERT_FALSE(Enabled("btnFinish"));
  EXPECT_EQ(shown(), "Complete the restriction, or switch it off.");
  GoTo(nbpgName);
  EXPECT_EQ(shown(), "Complete the restriction, or switch it off.");
  GoTo(nbpgDels);
  Get<QCheckBox>("ckRstSize")->click();
  EXPECT_EQ(shown(), "");
  EXPECT_TRUE(Enabled("btnFinish"));
}

TEST_F(WizardTest, RemoveSelectsTheLineThatTakesThePlace) {
  Make(Type("T", cuDelete, {}, {"a", "b", "c"}));
  auto* dels = Get<QListWidget>("lbDels");
  dels->setCurrentRow(2);
  Click("adelRem");
  EXPECT_EQ(dels->currentRow(), 1);
  dels->setCurrentRow(0);
  Click("adelRem");
  EXPECT_EQ(dels->currentRow(), 0);
  EXPECT_EQ(dels->item(0)->text().toStdString(), "b");
}

TEST_F(WizardTest, LoadAndStoreKeepTheTypeAndFoldTheLocalDrivesRow) {
  const std::string bad = "/tmp/caf\xE9/";  // not UTF-8: kept byte for byte
  struct Case {
    FolderList in, out;
  } cases[] = {
      {{{"/one/", pFolOnly}}, {{"/one/", pFolOnly}}},
      {{}, {}},
      {{{"Local drives (/,/data)", pFolAndSub}}, {}},
      {{{"/a/", pSubOnly}, {"Local drives (/)", pFolAndSub}}, {{"/a/", pSubOnly}, {"Local drives (/)", pFolAndSub}}},
      {{{"  ", pFolOnly}, {bad, pFolAndSub}, {"", pFolOnly}}, {{bad, pFolAndSub}}},
      {{{"/odd/", FolderRule{7}}}, {{"/odd/", FolderRule{7}}}},  // an unknown stored rule is kept
  };
  for (const Case& c : cases) {
    const TJunkFileObj in = Type("Name", cuHolding, c.in, {"*.tmp", bad + "x"}, {"keep*", "/abs/path"}, false);
    Make(in);
    // The restriction fields belong to the restriction panel's own tests.
    const TJunkFileObj& out = wiz->GetFromObj();
    EXPECT_EQ(out.Dirs(), c.out) << (c.in.empty() ? "" : c.in[0].path);
    EXPECT_EQ(out.TypName(), in.TypName());
    EXPECT_EQ(out.IsChecked(), in.IsChecked());
    EXPECT_EQ(out.Backtype(), in.Backtype());
    EXPECT_EQ(out.Deletes(), in.Deletes());
    EXPECT_EQ(out.Prots(), in.Prots());
    EXPECT_FALSE(out.DateRestrict() || out.AgeRestrict() || out.SizeRestrict());
  }
}

TEST_F(WizardTest, StoredNamesSurviveTheEdit) {
  for (const std::string& name : {std::string(40, 'n'), std::string("caf\xE9")}) {
    Make(Type(name, cuDelete, {}, {"*"}));
    EXPECT_EQ(wiz->GetFromObj().TypName(), name);
  }
  Get<QLineEdit>("ebName")->setText(QStringLiteral("cafe"));
  EXPECT_EQ(wiz->GetFromObj().TypName(), "cafe");
}

TEST_F(WizardTest, RecycleBinProblemLocksTheRecycleMethod) {
  Make(Type("Bin", cuRecycle, {}, {"*"}), true);
  EXPECT_FALSE(Get<QRadioButton>("rbRecycle")->isEnabled());
  EXPECT_TRUE(Get<QRadioButton>("rbRecycle")->isChecked());
  EXPECT_FALSE(Get<QCheckBox>("cbEnabled")->isEnabled());
  Get<QRadioButton>("rbDelete")->click();
  EXPECT_TRUE(Get<QCheckBox>("cbEnabled")->isEnabled());
  EXPECT_EQ(wiz->GetFromObj().Backtype(), cuDelete);

  Make(Type("Hold", cuHolding, {}, {"*"}), true);
  EXPECT_FALSE(Get<QRadioButton>("rbRecycle")->isEnabled());
  EXPECT_TRUE(Get<QCheckBox>("cbEnabled")->isEnabled());
}

TEST_F(WizardTest, FolderClearAndPickerCancel) {
  Make(Type("T", cuDelete, {{"/x/", pFolOnly}}, {"*"}));
  auto* dirs = Get<QTreeWidget>("lvDirs");
  EXPECT_EQ(dirs->topLevelItem(0)->text(1).toStdString(), "Folder only");
  GoTo(nbpgDirs);
  OnNextModal([](QDialog& d) { d.reject(); });
  Click("aDirChange");
  ASSERT_EQ(dirs->topLevelItemCount(), 1);
  EXPECT_EQ(dirs->topLevelItem(0)->text(0).toStdString(), "/x/");
  EXPECT_TRUE(Enabled("adirClear"));
  Click("adirClear");
  ASSERT_EQ(dirs->topLevelItemCount(), 1);
  EXPECT_EQ(dirs->topLevelItem(0)->text(0).toStdString(), "Local drives (/)");
  EXPECT_FALSE(Enabled("adirClear"));
  EXPECT_TRUE(wiz->GetFromObj().Dirs().empty());
}

// Change opens the picker with the type's own folders, so Enter (OK) keeps
// them; a type of all local drives opens with every drive.
TEST_F(WizardTest, ChangeStartsFromTheTypesOwnFolders) {
  const FolderList own{{dir / "tree/", pFolOnly}, {dir / "other", pSubOnly}};
  for (const FolderList& dirs : {FolderList{own[0]}, own, FolderList{}}) {
    Make(Type("T", cuDelete, dirs, {"*"}));
    GoTo(nbpgDirs);
    FolderList shown;
    OnNextModal([&shown](QDialog& d) {
      static_cast<TNewPickForm&>(d).SaveToList(shown);
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(d.focusWidget() ? d.focusWidget() : &d, &enter);
    });
    Click("aDirChange");
    const FolderList want = dirs.empty() ? FolderList{{"Local drives (/)", pFolAndSub}} : dirs;
    EXPECT_EQ(shown, want);
    EXPECT_EQ(wiz->GetFromObj().Dirs(), dirs);
  }
}

// A type for a cache below the home that takes backup names without a dot,
// built in the wizard alone: the folder typed into the picker, "*~" typed
// into the specification editor.
TEST_F(WizardTest, ACacheFolderAndALinuxFileNameInTheWizardAlone) {
  const std::string cache = dir / "home/.cache/app";
  std::filesystem::create_directories(cache);
  Make();
  Get<QLineEdit>("ebName")->setText(QStringLiteral("App backups"));
  GoTo(nbpgDirs);
  OnNextModal([&cache](QDialog& d) {
    auto* field = d.findChild<QLineEdit*>(QStringLiteral("ebPath"));
    ASSERT_NE(field, nullptr);
    field->setText(QString::fromStdString(cache));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    d.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  Click("aDirChange");
  GoTo(nbpgDels);
  OnNextModal([](QDialog& d) {
    auto* edit = d.findChild<QLineEdit*>(QStringLiteral("ebSpec"));
    for (const QChar c : QStringLiteral("*~")) {
      QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit, &key);
    }
    d.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  Click("aDelAdd");
  ASSERT_TRUE(Enabled("btnFinish"));
  Click("btnFinish");
  EXPECT_EQ(wiz->result(), QDialog::Accepted);
  const TJunkFileObj& made = wiz->GetFromObj();
  EXPECT_EQ(made.Dirs(), (FolderList{{cache + "/", pFolAndSub}}));
  EXPECT_EQ(made.Deletes(), SpecList{"*~"});
}

TEST_F(WizardTest, SummaryThenBackAndAddIsKeptByFinish) {
  Make(Type("T", cuDelete, {}, {"*.a"}));
  GoTo(nbpgSumm);
  EXPECT_FALSE(Get<QTextEdit>("reProps")->toPlainText().isEmpty());
  EXPECT_TRUE(Button("btnNext")->isDefault());
  GoTo(nbpgDels);
  AddDelete("*.b");
  EXPECT_EQ(wiz->GetFromObj().Deletes(), (SpecList{"*.a", "*.b"}));
}

TEST_F(WizardTest, CountFillsTheLabelsAndTheFileList) {
  struct Case {
    std::vector<std::pair<std::string, size_t>> files;
    std::vector<std::string> labels;  // dirs, dels, res, prots, actual, size
    bool view;
    std::vector<std::string> listed;
  } cases[] = {
      {{{"a.tmp", 12}, {"sub/b.tmp", 0}, {"keep.tmp", 1}, {"x.txt", 5}},
       {"2 folders were searched\r\n", "3 files matched the junk file specifications\r\n",
        "0 files did not meet the date or size restrictions\r\n",
        "1 file was protected by the protect file specifications\r\n\r\n", "2 files would be processed",
        "These files occupy 12 bytes  of disk space."},
       true,
       {"a.tmp", "sub/b.tmp"}},
      {{{"e.tmp", 0}},
       {"1 folder was searched\r\n", "1 file matched the junk file specifications\r\n",
        "0 files did not meet the date or size restrictions\r\n",
        "0 files were protected by the protect file specifications\r\n\r\n", "1 file would be processed",
        "This file does not occupy any disk space"},
       true,
       {"e.tmp"}},
      {{{"keep.tmp", 3}},
       {"1 folder was searched\r\n", "1 file matched the junk file specifications\r\n",
        "0 files did not meet the date or size restrictions\r\n",
        "1 file was protected by the protect file specifications\r\n\r\n", "0 files would be processed", ""},
       false,
       {}},
      {{{"x.txt", 3}}, {"1 folder was searched\r\n", "No files matched the junk file specifications", "", "", "", ""},
       false, {}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string root = dir / ("tree" + std::to_string(n++));
    std::filesystem::create_directories(root);
    for (const auto& [name, size] : c.files) dir.Write(root.substr(dir.path().size() + 1) + "/" + name, std::string(size, 'x'));
    Make(Type("Count & test", cuDelete, {{root + "/", pFolAndSub}}, {"*.tmp"}, {"keep.tmp"}));
    GoTo(nbPgTotl);
    EXPECT_EQ(Text("lblTypCount"), "Counting files for \"Count & test\"");
    WaitCount();
    const char* labels[] = {"lblTypDirs", "lblTypDels", "lblTypRes", "lblTypProts", "lblTypActual", "lblTypSize"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(labels[i]), c.labels[i]) << root << " " << labels[i];
    EXPECT_EQ(Enabled("btnView"), c.view);
    EXPECT_TRUE(Enabled("btnFinish"));
    EXPECT_TRUE(Enabled("btnBack"));
    EXPECT_TRUE(Enabled("btnCancel"));
    EXPECT_FALSE(Enabled("btnNext"));
    EXPECT_FALSE(Enabled("btnStop"));
    EXPECT_TRUE(Button("btnFinish")->isDefault());

    std::vector<std::string> listed;
    for (std::string line : SplitLines(ReadFile(wiz->TmpName()))) {
      if (line.empty()) continue;
      EXPECT_TRUE(StartsWith(line, root + "/")) << line;
      listed.push_back(line.substr(root.size() + 1));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, c.listed);
    if (!c.listed.empty()) {
      EXPECT_NE(ReadFile(wiz->TmpName()).find("\r\n"), std::string::npos);
    }
    if (c.view) {
      OnNextModal([&c](QDialog& d) {
        auto* found = d.findChild<QListWidget*>();
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->count(), static_cast<int>(c.listed.size()));
        d.accept();
      });
      Click("btnView");
    }
    const std::string list = wiz->TmpName();
    wiz.reset();
    EXPECT_FALSE(std::filesystem::exists(list));
  }
}

TEST_F(WizardTest, AListFileThatCannotBeCreatedLeavesTheWizardUsable) {
  Make(Type("T", cuDelete, {{dir / "tree", pFolAndSub}}, {"*.tmp"}));
  std::filesystem::remove_all(dir / "data");
  GoTo(nbPgTotl);
  EXPECT_FALSE(wiz->Counting());
  EXPECT_TRUE(StartsWith(Text("lblTypDirs"), "The list of found files cannot be created: "));
  for (const char* b : {"btnBack", "btnFinish", "btnCancel"}) EXPECT_TRUE(Enabled(b)) << b;
  EXPECT_FALSE(Enabled("btnStop"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WizardTest, StopDuringACount) {
  dir.Write("tree/a.tmp", "x");
  Make(Type("T", cuDelete, {{dir / "tree", pFolAndSub}}, {"*.tmp"}));
  gateClosed = true;
  GoTo(nbPgTotl);
  EXPECT_TRUE(wiz->Counting());
  for (const char* b : {"btnBack", "btnNext", "btnFinish", "btnCancel", "btnView"}) EXPECT_FALSE(Enabled(b)) << b;
  EXPECT_TRUE(Enabled("btnStop"));
  EXPECT_EQ(Text("lblTypDirs"), "One moment please...");
  Click("btnStop");
  EXPECT_FALSE(Enabled("btnStop"));
  gateClosed = false;
  WaitCount();
  EXPECT_EQ(Text("lblTypCount"), "Operation stopped by user");
  EXPECT_EQ(Text("lblTypDirs"), "");
  EXPECT_EQ(Text("lblTypActual"), "");
  EXPECT_TRUE(Enabled("btnFinish"));
  EXPECT_TRUE(Enabled("btnBack"));
  EXPECT_FALSE(Enabled("btnView"));

  // Back and Next again starts a fresh count.
  wiz->aBackExecute();
  wiz->aNextExecute();
  WaitCount();
  EXPECT_EQ(Text("lblTypActual"), "1 file would be processed");
}

TEST_F(WizardTest, ClosingDuringACountStopsItFirst) {
  Make(Type("T", cuDelete, {{dir / "tree", pFolAndSub}}, {"*.tmp"}));
  wiz->show();
  gateClosed = true;
  GoTo(nbPgTotl);
  wiz->close();
  EXPECT_TRUE(wiz->isVisible());  // waits for the count's end
  EXPECT_FALSE(placements.Has("TypeWiz"));
  gateClosed = false;
  WaitCount();
  EXPECT_FALSE(wiz->isVisible());
  EXPECT_EQ(wiz->result(), QDialog::Rejected);
  EXPECT_EQ(placements.Doc().Keys("TypeWiz Settings").size(), 10u);  // saved as it closed, size included
  EXPECT_EQ(Text("lblTypCount"), "Operation stopped by user");

  // Destroyed while counting: the scan is stopped and its end awaited.
  Make(Type("T", cuDelete, {{dir / "tree", pFolAndSub}}, {"*.tmp"}));
  gateClosed = true;
  GoTo(nbPgTotl);
  std::thread opener([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    gateClosed = false;
  });
  wiz.reset();
  opener.join();
  EXPECT_FALSE(std::filesystem::exists(dir / "data/Vorlo.$$$.TXT"));
}

// Hints go to the status bar, a disabled control's with " (disabled)", and
// none while the main window's run is active.
TEST_F(WizardTest, HintsGoToTheStatusBarAndNameDisabledControls) {
  Make();
  auto* bar = wiz->findChild<QStatusBar*>();
  ASSERT_NE(bar, nullptr);
  const auto hover = [&](QWidget* w) {
    bar->clearMessage();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &enter);
    return bar->currentMessage().toStdString();
  };
  Get<QLineEdit>("ebName")->setText(QStringLiteral("Temp"));
  GoTo(nbpgDels);
  const std::string dateHint = "Restrict deletion by absolute date (e.g. 1/1/1999) ";
  auto* rbDate = Get<QRadioButton>("rbDate");
  ASSERT_FALSE(rbDate->isEnabled());
  EXPECT_TRUE(rbDate->toolTip().isEmpty());
  EXPECT_EQ(hover(rbDate), dateHint + " (disabled)");
  Get<QCheckBox>("ckRstDate")->click();
  ASSERT_TRUE(rbDate->isEnabled());
  EXPECT_EQ(hover(rbDate), dateHint);
  EXPECT_EQ(hover(Get<QComboBox>("cbSizeUnits")), "Select units for file size (disabled)");

  ASSERT_FALSE(Enabled("btnNext"));  // no delete specification yet
  EXPECT_EQ(hover(Button("btnNext")), "Proceed to the next step (disabled)");

  runActive = true;
  EXPECT_EQ(hover(rbDate), "");
  EXPECT_EQ(hover(Button("btnNext")), "");
}

TEST_F(WizardTest, EscapeDuringACountLeavesTheWizardOpenAndCounting) {
  Make(Type("T", cuDelete, {{dir / "tree", pFolAndSub}}, {"*.tmp"}));
  wiz->show();
  gateClosed = true;
  GoTo(nbPgTotl);
  const auto escape = [this] {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(wiz->focusWidget() ? wiz->focusWidget() : wiz.get(), &key);
  };
  escape();
  EXPECT_TRUE(wiz->isVisible());
  EXPECT_TRUE(wiz->Counting());
  gateClosed = false;
  WaitCount();
  EXPECT_TRUE(wiz->isVisible());
  escape();  // Cancel is back: Escape cancels
  EXPECT_FALSE(wiz->isVisible());
  EXPECT_EQ(wiz->result(), QDialog::Rejected);
}

// At its design size the first page shows every method whole.
TEST_F(WizardTest, MethodButtonsFitTheirGroup) {
  Make();
  wiz->show();
  auto* recycle = Get<QRadioButton>("rbRecycle");
  auto* group = qobject_cast<QWidget*>(recycle->parent());
  for (const char* name : {"rbRecycle", "rbBackup", "rbDelete"}) {
    auto* rb = Get<QRadioButton>(name);
    EXPECT_TRUE(group->contentsRect().contains(rb->geometry())) << name;
    EXPECT_GE(rb->height(), rb->sizeHint().height()) << name;
    EXPECT_GE(rb->width(), rb->sizeHint().width()) << name;
  }
  EXPECT_TRUE(group->parentWidget()->rect().contains(group->geometry()));
}

}  // namespace
}  // namespace vorlo
