// The folder picker driven through its widgets over a small real tree:
// lazy loading, what is shown, the two states carried down and up, the
// saved list and the enabling of the commands.
#include "editor/folder_picker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QLabel>
#include <QTreeWidget>
#include <filesystem>

#include "core/text.h"
#include "editor/picker_legend.h"
#include "support/memory_placements.h"
#include "support/temp_dir.h"

namespace vorlo {

void PrintTo(const FolderEntry& e, std::ostream* os) {
  *os << '{' << e.path << ", " << static_cast<int32_t>(e.rule) << '}';
}

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::TempDir;
using enum FolderRule;

// drive/
//   alpha/ a1/ deep/   alpha/ a2/
//   beta/              (no subfolders)
//   link -> alpha      (a link: never followed)
//   file.txt
class FolderPickerTest : public ::testing::Test {
 protected:
  FolderPickerTest() {
    namespace fs = std::filesystem;
    fs::create_directories(drive + "/alpha/a1/deep");
    fs::create_directories(drive + "/alpha/a2");
    fs::create_directories(drive + "/beta");
    fs::create_directory_symlink(drive + "/alpha", drive + "/link");
    tmp.Write("drive/file.txt", "x");
    form = std::make_unique<TNewPickForm>(std::vector<std::string>{drive}, kAll, placements);
    tree = form->findChild<QTreeWidget*>(QStringLiteral("tvDirSel"));
  }

  QTreeWidgetItem* Root() { return form->TreeRoot(); }
  QTreeWidgetItem* Drive() { return Root()->child(0); }
  static QTreeWidgetItem* Child(QTreeWidgetItem* item, const char* text) {
    for (int i = 0; i < item->childCount(); ++i)
      if (item->child(i)->text(0) == QLatin1String(text)) return item->child(i);
    return nullptr;
  }
  static QStringList Texts(QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
    return out;
  }
  void Select(QTreeWidgetItem* item) { tree->setCurrentItem(item); }
  void Run(const char* action) { form->findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
  bool Enabled(const char* action) { return form->findChild<QAction*>(QString::fromLatin1(action))->isEnabled(); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(tree, &press);
  }
  void Click(QPoint at) {
    QWidget* vp = tree->viewport();
    const QPointF local(at);
    const QPointF global(vp->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &release);
  }
  // Expands the drive and alpha, so every folder of interest is loaded.
  void LoadAll() {
    Drive()->setExpanded(true);
    Child(Drive(), "alpha")->setExpanded(true);
  }
  FolderList Saved() {
    FolderList list;
    form->SaveToList(list);
    return list;
  }
  std::string P(const std::string& below) { return drive + "/" + below; }
  bool OkEnabled() { return form->findChild<QPushButton*>(QStringLiteral("btnOK"))->isEnabled(); }

  const std::string kAll = "Local drives (/tmp/x)";
  TempDir tmp;
  std::string drive = tmp / "drive";
  testing::MemoryPlacements placements;
  std::unique_ptr<TNewPickForm> form;
  QTreeWidget* tree = nullptr;
};

TEST_F(FolderPickerTest, OpensWithAllDrivesAndLoadsFoldersOnExpansion) {
  EXPECT_EQ(Root()->text(0), QStringLiteral("Local Drives"));
  ASSERT_EQ(Root()->childCount(), 1);
  EXPECT_EQ(form->FullPath(Drive()), drive + "/");
  EXPECT_TRUE(form->HasChildren(Drive()));
  EXPECT_EQ(Drive()->childCount(), 0);  // not listed until expanded
  EXPECT_TRUE(OkEnabled());
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{kAll, pFolAndSub}));

  Drive()->setExpanded(true);
  // Sorted; the link and the file are not shown.
  EXPECT_EQ(Texts(Drive()), (QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}));
  QTreeWidgetItem* alpha = Child(Drive(), "alpha");
  QTreeWidgetItem* beta = Child(Drive(), "beta");
  EXPECT_EQ(form->FullPath(alpha), P("alpha/"));
  EXPECT_TRUE(form->HasChildren(alpha));
  EXPECT_EQ(form->GetSub(alpha), cSubChkP);
  EXPECT_TRUE(form->FolChecked(alpha));
  EXPECT_FALSE(form->HasChildren(beta));
  EXPECT_EQ(form->GetSub(beta), cSubGray);
  EXPECT_EQ(alpha->childCount(), 0);

  Select(alpha);
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("pnlFullPath"))->text(),
            QString::fromUtf8(" " + P("alpha/")));
}

TEST_F(FolderPickerTest, AsteriskDoesNotExpandAndRootStaysOpen) {
  Select(Drive());
  Key(Qt::Key_Asterisk, Qt::KeypadModifier);
  Key(Qt::Key_Asterisk);
  EXPECT_FALSE(Drive()->isExpanded());
  EXPECT_EQ(Drive()->childCount(), 0);

  Root()->setExpanded(false);
  EXPECT_TRUE(Root()->isExpanded());
}

TEST_F(FolderPickerTest, FolderCheckBoxByKeyMouseAndAction) {
  // The root has no check box.
  Select(Root());
  Key(Qt::Key_Space);
  EXPECT_FALSE(Enabled("aFolder"));
  EXPECT_EQ(form->GetSub(Root()), cSubChkP);
  EXPECT_TRUE(form->CheckBoxRect(Root()).isEmpty());

  // Clearing the drive's own check box: subfolders only.
  Select(Drive());
  Key(Qt::Key_Space);
  EXPECT_FALSE(form->FolChecked(Drive()));
  EXPECT_EQ(form->GetSub(Root()), cSubSome);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pSubOnly}));

  // A click on the check box selects the node and toggles it back.
  Select(Root());
  Click(form->CheckBoxRect(Drive()).center());
  EXPECT_EQ(tree->currentItem(), Drive());
  EXPECT_TRUE(form->FolChecked(Drive()));
  EXPECT_EQ(form->GetSub(Root()), cSubChek);

  Run("aFolder");
  EXPECT_FALSE(form->FolChecked(Drive()));
  EXPECT_FALSE(form->findChild<QAction*>(QStringLiteral("aFolder"))->isChecked());
}

TEST_F(FolderPickerTest, NoSubfoldersOnRootChoosesNothing) {
  LoadAll();
  Select(Root());
  Run("aNoSubs");
  EXPECT_EQ(form->GetSub(Root()), cSubNotP);
  EXPECT_EQ(form->GetSub(Drive()), cSubNotP);
  EXPECT_FALSE(form->FolChecked(Drive()));
  QTreeWidgetItem* alpha = Child(Drive(), "alpha");
  EXPECT_EQ(form->GetSub(alpha), cSubNotP);
  EXPECT_EQ(form->GetSub(Child(alpha, "a2")), cSubGray);
  EXPECT_FALSE(form->FolChecked(Child(alpha, "a2")));
  EXPECT_FALSE(OkEnabled());
  EXPECT_TRUE(Saved().empty());

  // Folders first loaded below an excluded one come in excluded.
  QTreeWidgetItem* a1 = Child(alpha, "a1");
  a1->setExpanded(true);
  ASSERT_EQ(a1->childCount(), 1);
  EXPECT_EQ(form->GetSub(a1->child(0)), cSubGray);
  EXPECT_FALSE(form->FolChecked(a1->child(0)));

  // Choosing one folder again makes OK available.
  Select(a1);
  Run("aFolder");
  EXPECT_TRUE(OkEnabled());
  EXPECT_EQ(form->GetSub(Root()), cSubSome);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P("alpha/a1/"), pFolOnly}));
}

TEST_F(FolderPickerTest, ListedSubfoldersOnDrive) {
  Select(Drive());
  Run("aExistSubs");  // loads the drive's folders itself
  EXPECT_TRUE(Drive()->isExpanded());
  EXPECT_EQ(form->GetSub(Drive()), cSubChek);
  EXPECT_EQ(form->GetSub(Root()), cSubChek);
  EXPECT_EQ(form->GetSub(Child(Drive(), "alpha")), cSubChkP);
  EXPECT_EQ(form->GetSub(Child(Drive(), "beta")), cSubGray);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pFolOnly}, FolderEntry{P("alpha/"), pFolAndSub},
                                   FolderEntry{P("beta/"), pFolOnly}));

  // Unchecking every child of it: alpha still searches its subfolders, so
  // the drive has some subfolders, not none.
  Select(Child(Drive(), "alpha"));
  Key(Qt::Key_Space);
  Select(Child(Drive(), "beta"));
  Key(Qt::Key_Space);
  EXPECT_EQ(form->GetSub(Drive()), cSubSome);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pFolOnly}, FolderEntry{P("alpha/"), pSubOnly}));
}

TEST_F(FolderPickerTest, ChangeBelowIsCarriedUpAndBack) {
  LoadAll();
  QTreeWidgetItem* alpha = Child(Drive(), "alpha");
  QTreeWidgetItem* a1 = Child(alpha, "a1");
  Select(a1);
  Key(Qt::Key_Space);
  EXPECT_EQ(form->GetSub(alpha), cSubSome);
  EXPECT_EQ(form->GetSub(Drive()), cSubSome);
  EXPECT_EQ(form->GetSub(Root()), cSubSome);
  EXPECT_TRUE(form->FolChecked(alpha));  // ancestors keep their own check
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pFolOnly}, FolderEntry{P("alpha/"), pFolOnly},
                                   FolderEntry{P("alpha/a1/"), pSubOnly}, FolderEntry{P("alpha/a2/"), pFolOnly},
                                   FolderEntry{P("beta/"), pFolOnly}));

  // Everything included again: the listed subfolders, not those made later.
  Key(Qt::Key_Space);
  EXPECT_EQ(form->GetSub(alpha), cSubChek);
  EXPECT_EQ(form->GetSub(Drive()), cSubChek);
  EXPECT_EQ(form->GetSub(Root()), cSubChek);

  // "No subfolders" on the drive carries down; the drive's files stay.
  Select(Drive());
  Run("aNoSubs");
  EXPECT_FALSE(form->FolChecked(a1));
  EXPECT_EQ(form->GetSub(a1), cSubNotP);
  EXPECT_EQ(form->GetSub(Root()), cSubSome);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pFolOnly}));

  // "All subfolders" back on alpha alone: its own files stay out.
  Select(alpha);
  Run("aAllSubs");
  EXPECT_TRUE(form->FolChecked(a1));
  EXPECT_EQ(form->GetSub(a1), cSubChkP);
  EXPECT_FALSE(form->FolChecked(alpha));
  EXPECT_EQ(form->GetSub(Drive()), cSubSome);
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P(""), pFolOnly}, FolderEntry{P("alpha/"), pSubOnly}));
}

TEST_F(FolderPickerTest, EnablingOfTheCommands) {
  tree->clearSelection();
  tree->setCurrentItem(nullptr);
  for (const char* a : {"aFolder", "aAllSubs", "aNoSubs", "aExistSubs"}) EXPECT_FALSE(Enabled(a)) << a;

  Drive()->setExpanded(true);
  QTreeWidgetItem* beta = Child(Drive(), "beta");
  Select(beta);  // no subfolders, parent takes all of them
  EXPECT_TRUE(Enabled("aFolder"));
  EXPECT_FALSE(Enabled("aAllSubs"));
  EXPECT_FALSE(Enabled("aNoSubs"));
  EXPECT_TRUE(Enabled("aExistSubs"));
  EXPECT_FALSE(form->findChild<QPushButton*>(QStringLiteral("btnNoSubs"))->isEnabled());

  Run("aExistSubs");
  EXPECT_EQ(form->GetSub(beta), cSubGray);
  Select(Drive());
  Run("aNoSubs");
  Select(beta);
  EXPECT_TRUE(Enabled("aAllSubs"));  // the parent no longer takes all
}

TEST_F(FolderPickerTest, LegendAndPlacement) {
  TLegendForm* legend = form->Legend();
  ASSERT_NE(legend, nullptr);
  EXPECT_FALSE(legend->isVisible());
  EXPECT_EQ(legend->tvLegend()->topLevelItemCount(), 5);
  EXPECT_EQ(legend->tvLegend()->topLevelItem(1)->text(0),
            QStringLiteral("Search all subfolders that exist at clean-up time"));

  QAction* aLegend = form->findChild<QAction*>(QStringLiteral("aLegend"));
  aLegend->trigger();
  EXPECT_TRUE(legend->isVisible());
  EXPECT_TRUE(aLegend->isChecked());
  // Every line shows whole: as wide as its text needs, all rows in view.
  QTreeWidget* lines = legend->tvLegend();
  for (int i = 0; i < lines->topLevelItemCount(); ++i) {
    const QRect row = lines->visualItemRect(lines->topLevelItem(i));
    const int needed = lines->iconSize().width() + lines->fontMetrics().horizontalAdvance(lines->topLevelItem(i)->text(0));
    EXPECT_TRUE(lines->viewport()->rect().contains(row)) << i;
    EXPECT_GE(lines->viewport()->width(), needed + 4) << i;
  }
  EXPECT_FALSE(legend->rect().intersects(legend->findChild<QPushButton*>(QStringLiteral("btnOK"))->geometry()));
  // The picker opens at its least size, large enough for several rows.
  EXPECT_GE(form->width(), 320);
  EXPECT_GE(form->height(), 240);
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(legend, &esc);
  EXPECT_FALSE(legend->isVisible());
  EXPECT_FALSE(aLegend->isChecked());

  // Both positions are saved when the picker closes: the picker's first,
  // with its size, then the legend's.
  EXPECT_EQ(placements.saves, 0);
  form->reject();
  form.reset();
  EXPECT_EQ(placements.saves, 2);
  const std::string& text = placements.text;
  EXPECT_NE(text.find("[NewPickForm Settings]"), std::string::npos);
  EXPECT_NE(text.find("Right="), std::string::npos);
  EXPECT_NE(text.find("[LegendForm Settings]"), std::string::npos);
  EXPECT_LT(text.find("[NewPickForm Settings]"), text.find("[LegendForm Settings]"));
  EXPECT_EQ(placements.Doc().Keys("LegendForm Settings").size(), 8u);  // no size
}

// A folder path typed or pasted into the field is added with the rule
// beside it; one that cannot be a type's folder is refused in the path
// panel, and Enter in the field never closes the picker.
TEST_F(FolderPickerTest, TypedFolderIsAddedWithItsRuleOrRefusedInThePathPanel) {
  form->show();
  auto* field = form->findChild<QLineEdit*>(QStringLiteral("ebPath"));
  auto* rule = form->findChild<QComboBox*>(QStringLiteral("cbPathRule"));
  auto* panel = form->findChild<QLabel*>(QStringLiteral("pnlFullPath"));
  ASSERT_TRUE(field && rule && panel);
  const auto enter = [&](const std::string& text) {
    field->setText(QString::fromStdString(text));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &press);
  };
  const struct {
    std::string text, shown;
  } refused[] = {
      {"alpha", " Enter a full path that begins with /"},
      {"", " Enter a full path that begins with /"},
      {P("missing"), " No such folder: " + P("missing")},
      {P("file.txt"), " Not a folder: " + P("file.txt")},
  };
  for (const auto& r : refused) {
    enter(r.text);
    EXPECT_EQ(panel->text().toStdString(), r.shown) << r.text;
    EXPECT_THAT(Saved(), ElementsAre(FolderEntry{kAll, pFolAndSub})) << r.text;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  EXPECT_TRUE(form->isVisible());

  // The first folder takes the place of every drive, and is shown selected.
  enter(P("alpha/a1"));
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(field->text().isEmpty());
  ASSERT_EQ(Root()->childCount(), 2);
  QTreeWidgetItem* a1 = Root()->child(1);
  EXPECT_EQ(a1->text(0).toStdString(), P("alpha/a1"));
  EXPECT_EQ(tree->currentItem(), a1);
  EXPECT_EQ(panel->text().toStdString(), " " + P("alpha/a1/"));
  EXPECT_FALSE(form->FolChecked(Drive()));
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P("alpha/a1/"), pFolAndSub}));
  a1->setExpanded(true);  // its own folders, like any node's
  EXPECT_EQ(Texts(a1), QStringList{QStringLiteral("deep")});

  rule->setCurrentIndex(1);
  enter(P("beta/"));
  rule->setCurrentIndex(2);
  field->setText(QString::fromStdString(P("link")));  // a link to a folder is a folder
  form->findChild<QPushButton*>(QStringLiteral("btnAddPath"))->click();
  EXPECT_THAT(Saved(), ElementsAre(FolderEntry{P("alpha/a1/"), pFolAndSub}, FolderEntry{P("beta/"), pFolOnly},
                                   FolderEntry{P("link/"), pSubOnly}));
  EXPECT_TRUE(OkEnabled());
}

// Opened with a type's folders, the picker shows them with their rules and
// nothing else, so OK keeps the type as it was.
TEST_F(FolderPickerTest, OpensWithTheGivenFoldersAlone) {
  const FolderList start{{P("alpha/"), pFolOnly}, {"/no/such/folder/", pSubOnly}};
  form = std::make_unique<TNewPickForm>(std::vector<std::string>{drive}, kAll, placements, start);
  tree = form->findChild<QTreeWidget*>(QStringLiteral("tvDirSel"));
  EXPECT_THAT(Saved(), ElementsAreArray(start));
  EXPECT_TRUE(OkEnabled());
  EXPECT_FALSE(form->FolChecked(Drive()));
  EXPECT_EQ(form->GetSub(Drive()), cSubNotP);
  ASSERT_EQ(Root()->childCount(), 3);
  EXPECT_EQ(tree->currentItem(), Root()->child(1));
  EXPECT_TRUE(form->FolChecked(Root()->child(1)));
  EXPECT_EQ(form->GetSub(Root()->child(1)), cSubNotP);
  EXPECT_FALSE(form->FolChecked(Root()->child(2)));
  EXPECT_EQ(form->GetSub(Root()->child(2)), cSubChkP);
}

// A home's dot-folders are where programs keep their caches: the tree shows
// them like any other folder, and one can be chosen alone.
TEST(FolderPickerDotFolders, ACacheBelowAHomeCanBeChosen) {
  TempDir tmp;
  const std::string home = tmp / "drive/home/user";
  std::filesystem::create_directories(home + "/.cache/thumbnails/large");
  std::filesystem::create_directories(home + "/Documents");
  testing::MemoryPlacements placements;
  TNewPickForm form({tmp / "drive"}, "Local drives (x)", placements);
  auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("tvDirSel"));
  const auto open = [](QTreeWidgetItem* item, const char* name) {
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i)
      if (item->child(i)->text(0) == QLatin1String(name)) return item->child(i);
    ADD_FAILURE() << name;
    return item;
  };
  QTreeWidgetItem* user = open(open(form.TreeRoot()->child(0), "home"), "user");
  QTreeWidgetItem* cache = open(user, ".cache");
  EXPECT_EQ(user->childCount(), 2);
  EXPECT_TRUE(form.HasChildren(cache));
  QTreeWidgetItem* thumbnails = open(cache, "thumbnails");

  tree->setCurrentItem(form.TreeRoot());
  form.findChild<QAction*>(QStringLiteral("aNoSubs"))->trigger();
  tree->setCurrentItem(thumbnails);
  form.findChild<QAction*>(QStringLiteral("aAllSubs"))->trigger();
  form.findChild<QAction*>(QStringLiteral("aFolder"))->trigger();
  FolderList list;
  form.SaveToList(list);
  EXPECT_THAT(list, ElementsAre(FolderEntry{home + "/.cache/thumbnails/", pFolAndSub}));
}

// A name that is not UTF-8 is shown replaced but saved byte for byte.
TEST(FolderPickerBytes, PathsKeepTheirBytes) {
  TempDir tmp;
  const std::string bad = "caf\xe9";
  std::filesystem::create_directories(tmp / ("drive/" + bad + "/sub"));
  testing::MemoryPlacements placements;
  TNewPickForm form({tmp / "drive"}, "Local drives (x)", placements);
  auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("tvDirSel"));
  QTreeWidgetItem* drive = form.TreeRoot()->child(0);
  tree->setCurrentItem(drive);
  form.findChild<QAction*>(QStringLiteral("aExistSubs"))->trigger();
  ASSERT_EQ(drive->childCount(), 1);
  EXPECT_TRUE(form.HasChildren(drive->child(0)));
  FolderList list;
  form.SaveToList(list);
  EXPECT_THAT(list, ElementsAre(FolderEntry{tmp / "drive/", pFolOnly},
                                FolderEntry{tmp / ("drive/" + bad + "/"), pFolAndSub}));
}

}  // namespace
}  // namespace vorlo
