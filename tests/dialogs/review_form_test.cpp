#include "dialogs/review_form.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeView>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/found_review.h"
#include "support/dialog_test_util.h"
#include "support/env_guard.h"
#include "support/memory_placements.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using namespace std::string_literals;
using testing::TempDir;

constexpr int64_t kStarted = 1'700'000'000;

bool WaitFor(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done() && std::chrono::steady_clock::now() < until) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

class ReviewFormTest : public ::testing::Test {
 protected:
  ReviewFormTest() {
    FoundResultsWriter writer;
    EXPECT_EQ(writer.Begin(file, kStarted), 0);
    writer.AddType(0, "Cache");
    writer.AddType(3, "Backups");
    const struct {
      uint32_t type;
      std::string path;
      int64_t size;
      uint32_t dupeOf;
    } files[] = {
        {0, "/home/u/.cache/b.tmp", 300, FoundEntry::kNotDupe},
        {0, "/home/u/.cache/a.tmp", 100, FoundEntry::kNotDupe},
        {0, "/data/caf\xe9/one\ntwo.tmp"s, 2000, FoundEntry::kNotDupe},
        {1, "/home/u/doc~", 5, FoundEntry::kNotDupe},
        {1, "/home/u/.cache/b.tmp", 300, 0},
        {1, "/home/u/notes~", 7, FoundEntry::kNotDupe},
    };
    for (const auto& f : files) writer.Add({f.type, f.path, f.size, 1'690'000'000'000'000'000, 1, 2, f.dupeOf});
    EXPECT_EQ(writer.Finish(false), 0);
  }

  std::unique_ptr<TReviewForm> Open() {
    auto form = std::make_unique<TReviewForm>(
        placements, NumberSeparators{},
        ReviewActions{[this](FoundResults ticked) {
                        cleaned.emplace_back();
                        for (size_t i = 0; i < ticked.size(); ++i) cleaned.back().push_back(std::string(ticked.Path(i)));
                        return startsCleanUp;
                      },
                      [this](const std::string& text) { reported.push_back(text); }});
    EXPECT_TRUE(form->SetData(file)) << form->LoadError().toStdString();
    tree = form->findChild<QTreeView*>(QStringLiteral("tvFound"));
    model = tree->model();
    cleanUp = form->findChild<QPushButton*>(QStringLiteral("btnCleanUp"));
    ticked = form->findChild<QLabel*>(QStringLiteral("lblTicked"));
    filter = form->findChild<QLineEdit*>(QStringLiteral("ebFilter"));
    return form;
  }

  QModelIndex At(int type, int file = -1, int column = 0) const {
    const QModelIndex typeRow = model->index(type, file < 0 ? column : 0);
    return file < 0 ? typeRow : model->index(file, column, typeRow);
  }
  QString Text(int type, int file, int column) const { return At(type, file, column).data().toString(); }
  Qt::CheckState Check(int type, int file = -1) const { return At(type, file).data(Qt::CheckStateRole).value<Qt::CheckState>(); }
  // Space on a row's first column, as a person toggles its box.
  void Toggle(int type, int file = -1) {
    tree->setCurrentIndex(At(type, file));
    testing::SendKey(tree, Qt::Key_Space);
  }
  std::vector<std::string> Names(int type) const {
    std::vector<std::string> names;
    for (int r = 0; r < model->rowCount(At(type)); ++r) names.push_back(Text(type, r, 1).toStdString());
    return names;
  }

  TempDir dir;
  const std::string file = dir / "Vorlo.found";
  testing::MemoryPlacements placements;
  bool startsCleanUp = false;
  std::vector<std::vector<std::string>> cleaned;
  std::vector<std::string> reported;
  QTreeView* tree = nullptr;
  QAbstractItemModel* model = nullptr;
  QPushButton* cleanUp = nullptr;
  QLabel* ticked = nullptr;
  QLineEdit* filter = nullptr;
};

TEST_F(ReviewFormTest, ShowsEachTypeAboveItsFilesWithTheTickedTotals) {
  const auto form = Open();
  const QString when = QLocale().toString(QDateTime::fromSecsSinceEpoch(kStarted), QLocale::ShortFormat);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Review found files - analysis of ") + when);
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(Text(0, -1, 0), QStringLiteral("Cache"));
  EXPECT_EQ(Text(0, -1, 1), QStringLiteral("3 files"));
  EXPECT_EQ(Text(0, -1, 3), QStringLiteral("2,400 bytes"));
  EXPECT_EQ(Text(1, -1, 1), QStringLiteral("2 files"));  // the dupe is Cache's
  EXPECT_EQ(Check(0), Qt::Checked);
  // Files by path; a name with a newline is shown quoted, a byte that is
  // not UTF-8 replaced.
  EXPECT_EQ(Names(0), (std::vector<std::string>{"$'one\\x0atwo.tmp'", "a.tmp", "b.tmp"}));
  EXPECT_EQ(Text(0, 0, 2), QString::fromUtf8("/data/caf\xef\xbf\xbd"));
  EXPECT_EQ(Text(0, 1, 2), QStringLiteral("/home/u/.cache"));
  EXPECT_EQ(Text(0, 1, 3), QStringLiteral("100 bytes"));
  EXPECT_EQ(Text(0, 1, 4),
            QLocale().toString(QDateTime::fromMSecsSinceEpoch(1'690'000'000'000), QLocale::ShortFormat));
  EXPECT_TRUE(tree->isExpanded(At(0)));
  EXPECT_EQ(ticked->text(), QStringLiteral("5 of 5 files ticked, 2,412 bytes"));
  EXPECT_TRUE(cleanUp->isEnabled());
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Size"));
}

TEST_F(ReviewFormTest, CleanUpHandsOverExactlyTheTickedFiles) {
  const auto form = Open();
  form->show();
  Toggle(0, 1);  // a.tmp
  EXPECT_EQ(Check(0, 1), Qt::Unchecked);
  EXPECT_EQ(Check(0), Qt::PartiallyChecked);
  EXPECT_EQ(ticked->text(), QStringLiteral("4 of 5 files ticked, 2,312 bytes"));
  Toggle(1);  // Backups: every file off
  EXPECT_EQ(Check(1, 0), Qt::Unchecked);
  EXPECT_EQ(Check(1, 1), Qt::Unchecked);
  Toggle(1, 1);
  cleanUp->click();
  ASSERT_EQ(cleaned.size(), 1u);
  EXPECT_EQ(cleaned[0], (std::vector<std::string>{"/home/u/.cache/b.tmp", "/data/caf\xe9/one\ntwo.tmp"s, "/home/u/notes~"}));
  EXPECT_TRUE(form->isVisible());  // no clean-up started: the review stays

  Toggle(0);  // partly ticked: a click ticks the whole type
  EXPECT_EQ(Check(0, 1), Qt::Checked);
  Toggle(0);
  Toggle(1, 1);
  EXPECT_EQ(ticked->text(), QStringLiteral("0 of 5 files ticked, 0 bytes"));
  EXPECT_FALSE(cleanUp->isEnabled());

  Toggle(1, 0);
  startsCleanUp = true;
  cleanUp->click();
  ASSERT_EQ(cleaned.size(), 2u);
  EXPECT_EQ(cleaned[1], (std::vector<std::string>{"/home/u/doc~"}));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(ReviewFormTest, HeaderSortsAndTheFilterHidesWhatDoesNotMatch) {
  const auto form = Open();
  form->show();
  QApplication::processEvents();
  QHeaderView* header = tree->header();
  const QPoint size(header->sectionViewportPosition(3) + header->sectionSize(3) / 2, header->height() / 2);
  // The largest first, then the smallest first.
  testing::LeftClick(header->viewport(), size);
  EXPECT_EQ(Text(0, -1, 0), QStringLiteral("Cache"));
  EXPECT_EQ(Names(0), (std::vector<std::string>{"$'one\\x0atwo.tmp'", "b.tmp", "a.tmp"}));
  testing::LeftClick(header->viewport(), size);
  EXPECT_EQ(Text(0, -1, 0), QStringLiteral("Backups"));
  EXPECT_EQ(Names(1), (std::vector<std::string>{"a.tmp", "b.tmp", "$'one\\x0atwo.tmp'"}));
  testing::LeftClick(header->viewport(), size);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

  tree->setCurrentIndex(At(0, 1));  // b.tmp
  filter->setText(QStringLiteral("/HOME/u/"));
  testing::SendKey(filter, Qt::Key_Return);
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(Names(0), (std::vector<std::string>{"b.tmp", "a.tmp"}));
  EXPECT_EQ(Text(0, -1, 1), QStringLiteral("2 files"));
  EXPECT_EQ(tree->currentIndex(), At(0, 0));  // the current row follows its file
  EXPECT_EQ(ticked->text(), QStringLiteral("5 of 5 files ticked, 2,412 bytes (1 of them hidden by the filter)"));
  Toggle(0);
  EXPECT_EQ(ticked->text(), QStringLiteral("3 of 5 files ticked, 2,012 bytes (1 of them hidden by the filter)"));

  // Typing filters once typing pauses; a type the filter hid comes back
  // as it was, collapsed or not.
  tree->collapse(At(1));
  filter->setText(QStringLiteral("doc"));
  ASSERT_TRUE(WaitFor([&] { return model->rowCount() == 1; }));
  EXPECT_EQ(Names(0), (std::vector<std::string>{"doc~"}));
  filter->clear();
  ASSERT_TRUE(WaitFor([&] { return model->rowCount() == 2; }));
  EXPECT_TRUE(tree->isExpanded(At(0)));
  EXPECT_FALSE(tree->isExpanded(At(1)));
  EXPECT_EQ(Check(0), Qt::PartiallyChecked);
}

// Enter and double-click on a file open its folder, as a file URL that
// keeps every byte, through xdg-open; on a type they open nothing, and Enter
// never closes the window. A desktop that cannot open it is reported.
TEST_F(ReviewFormTest, EnterOrDoubleClickOpensTheFilesFolder) {
  const std::string asked = dir / "asked";
  std::filesystem::create_directories(dir / "bin");
  ::chmod(dir.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + asked + "'\n[ \"$1\" = file:///home/u ] && exit 4\nexit 0\n").c_str(), 0755);
  testing::EnvGuard env;
  env.Set("PATH", dir / "bin:" + std::getenv("PATH"));

  const auto form = Open();
  form->show();
  QApplication::processEvents();
  tree->setCurrentIndex(At(0));
  testing::SendKey(tree, Qt::Key_Return);
  tree->setCurrentIndex(At(0, 0, 3));
  testing::SendKey(tree, Qt::Key_Return);
  ASSERT_TRUE(WaitFor([&] { return !testing::ReadFile(asked).empty(); }));
  const QPoint doc = tree->visualRect(At(1, 0, 1)).center();
  testing::LeftClick(tree->viewport(), doc);
  QMouseEvent twice(QEvent::MouseButtonDblClick, doc, tree->viewport()->mapToGlobal(doc), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tree->viewport(), &twice);
  ASSERT_TRUE(WaitFor([&] { return testing::ReadFile(asked).size() > 30 && !reported.empty(); }));
  EXPECT_EQ(testing::ReadFile(asked), "file:///data/caf%E9\nfile:///home/u\n");
  EXPECT_EQ(reported, (std::vector<std::string>{"No program could open the folder /home/u."}));
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(cleaned.empty());
}

TEST_F(ReviewFormTest, AFileThatCannotBeLoadedIsNamed) {
  TReviewForm form(placements, NumberSeparators{}, {});
  EXPECT_FALSE(form.SetData(dir / "missing"));
  EXPECT_EQ(form.LoadError().toStdString(), "Cannot read " + dir / "missing" + ": No such file or directory");
  dir.Write("Vorlo.found", testing::ReadFile(file).substr(0, 100));
  EXPECT_FALSE(form.SetData(file));
  EXPECT_TRUE(form.LoadError().endsWith(QStringLiteral(" is damaged: its contents do not match their check sum.")));
}

// At its smallest the window still shows every caption of its strip whole,
// and the longest status line of a million files.
TEST_F(ReviewFormTest, NothingIsCutAtTheMinimumSize) {
  const auto form = Open();
  form->resize(form->minimumSize());
  form->show();
  QApplication::processEvents();
  EXPECT_EQ(form->size(), form->minimumSize());
  for (QPushButton* button : form->findChildren<QPushButton*>())
    EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 12)
        << button->text().toStdString();
  EXPECT_GE(filter->width(), filter->minimumWidth());
  const QWidget* strip = filter->parentWidget();
  for (const QWidget* w : strip->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isVisible()) continue;
    EXPECT_TRUE(strip->rect().contains(w->geometry())) << w->metaObject()->className();
    for (const QWidget* other : strip->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != w && other->isVisible()) {
        EXPECT_FALSE(w->geometry().intersects(other->geometry()));
      }
    }
  }
  const FoundReview::Totals most{1'000'000, 1'000'000, int64_t{9'999} << 30, 999'999};
  const QString longest = QString::fromStdString(ReviewStatusText(most, NumberSeparators{}));
  EXPECT_LE(QFontMetrics(ticked->font()).horizontalAdvance(longest), ticked->width()) << longest.toStdString();
}

}  // namespace
}  // namespace vorlo
