#include "dialogs/default_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>

#include "support/dialog_test_util.h"

namespace vorlo {
namespace {

using testing::LeftClick;
using testing::SendKey;
using testing::ShownText;
using enum CleanupMethod;

class DefaultFormTest : public ::testing::Test {
 protected:
  const DefaultFolders folders{.appData = "/home/u/.config/",
                               .ieCache = "",
                               .tempPath = "/var/tmp/",
                               .tempVar = "/home/u/tmp",
                               .windowsRoot = "/"};
  const DescriptionContext context{"Local drives (/)", "/"};

  std::vector<TJunkFileObj> Table(bool recycleProb) const {
    std::vector<TJunkFileObj> t;
    AddAllDefaults(t, recycleProb, folders, DefaultsFor::Chooser);
    return t;
  }

  struct Widgets {
    QTreeWidget* lvDefs;
    QTextEdit* reProps;
    QPushButton* btnOK;
  };
  static Widgets Find(TDefaultForm& form) {
    return {form.findChild<QTreeWidget*>(QStringLiteral("lvDefs")), form.findChild<QTextEdit*>(QStringLiteral("reProps")),
            form.findChild<QPushButton*>(QStringLiteral("btnOK"))};
  }
  static int SelectedRow(QTreeWidget* lvDefs) {
    const auto selected = lvDefs->selectedItems();
    return selected.isEmpty() ? -1 : lvDefs->indexOfTopLevelItem(selected.first());
  }
  static void ClickRow(QTreeWidget* lvDefs, int row) {
    QTreeWidgetItem* item = lvDefs->topLevelItem(row);
    lvDefs->scrollToItem(item);
    LeftClick(lvDefs->viewport(), lvDefs->visualItemRect(item).center());
  }
};

TEST_F(DefaultFormTest, OpensWithFirstRowSelectedAndDescribed) {
  const auto table = Table(false);
  TDefaultForm form(false, folders, context);
  const auto [lvDefs, reProps, btnOK] = Find(form);
  ASSERT_TRUE(lvDefs && reProps && btnOK);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Vorlo - Default junk file types"));
  EXPECT_EQ(form.pos(), QPoint(233, 167));
  EXPECT_EQ(lvDefs->columnCount(), 1);
  EXPECT_EQ(lvDefs->headerItem()->text(0), QStringLiteral("Type"));
  ASSERT_EQ(lvDefs->topLevelItemCount(), static_cast<int>(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    const QTreeWidgetItem* item = lvDefs->topLevelItem(static_cast<int>(i));
    EXPECT_EQ(item->text(0), QString::fromStdString(table[i].TypName()));
    EXPECT_FALSE(item->flags() & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable));
  }
  EXPECT_EQ(SelectedRow(lvDefs), 0);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(table[0], context)));
  EXPECT_TRUE(reProps->isReadOnly());
  EXPECT_TRUE(btnOK->isEnabled());
  const auto obj = form.GetTheObj();
  ASSERT_TRUE(obj);
  EXPECT_EQ(*obj, table[0]);
}

TEST_F(DefaultFormTest, ArrowKeysMoveSelectionButNotDescriptionUntilClick) {
  const auto table = Table(false);
  TDefaultForm form(false, folders, context);
  const auto [lvDefs, reProps, btnOK] = Find(form);
  form.show();
  QApplication::processEvents();
  lvDefs->setFocus();

  SendKey(lvDefs, Qt::Key_Down);
  SendKey(lvDefs, Qt::Key_Down);
  EXPECT_EQ(SelectedRow(lvDefs), 2);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(table[0], context)));
  EXPECT_TRUE(btnOK->isEnabled());
  // OK takes the row that is selected.
  EXPECT_EQ(*form.GetTheObj(), table[2]);

  ClickRow(lvDefs, 4);
  EXPECT_EQ(SelectedRow(lvDefs), 4);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(table[4], context)));
}

TEST_F(DefaultFormTest, ClickDescribesRowAndGetTheObjCopiesIt) {
  const auto table = Table(false);
  TDefaultForm form(false, folders, context);
  const auto [lvDefs, reProps, btnOK] = Find(form);
  form.show();
  QApplication::processEvents();

  const int last = lvDefs->topLevelItemCount() - 1;
  ClickRow(lvDefs, last);
  EXPECT_EQ(SelectedRow(lvDefs), last);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(table[last], context)));
  EXPECT_TRUE(btnOK->isEnabled());

  auto copy = form.GetTheObj();
  ASSERT_TRUE(copy);
  EXPECT_EQ(*copy, table[last]);
  copy->SetTypName("changed");
  EXPECT_EQ(form.GetTheObj()->TypName(), table[last].TypName());

  btnOK->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(DefaultFormTest, ClickBelowLastRowClearsSelectionAndKeepsDescription) {
  const auto table = Table(false);
  TDefaultForm form(false, folders, context);
  const auto [lvDefs, reProps, btnOK] = Find(form);
  // Tall enough to leave room below the last row.
  form.resize(521, 60 * lvDefs->topLevelItemCount());
  form.show();
  QApplication::processEvents();

  ClickRow(lvDefs, 1);
  const QRect lastRow = lvDefs->visualItemRect(lvDefs->topLevelItem(lvDefs->topLevelItemCount() - 1));
  ASSERT_LT(lastRow.bottom() + 10, lvDefs->viewport()->height());
  LeftClick(lvDefs->viewport(), QPoint(20, lastRow.bottom() + 10));

  EXPECT_EQ(SelectedRow(lvDefs), -1);
  EXPECT_FALSE(btnOK->isEnabled());
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(table[1], context)));
  EXPECT_EQ(form.GetTheObj(), nullptr);
}

TEST_F(DefaultFormTest, RecycleBinProblemMovesToHoldingFolder) {
  for (bool recycleProb : {false, true}) {
    TDefaultForm form(recycleProb, folders, context);
    QTreeWidget* lvDefs = Find(form).lvDefs;
    for (int row = 0; row < lvDefs->topLevelItemCount(); ++row) {
      lvDefs->setCurrentItem(lvDefs->topLevelItem(row));
      const auto obj = form.GetTheObj();
      ASSERT_TRUE(obj);
      const CleanupMethod expected = obj->TypName() == "Delphi temporary files" ? cuDelete
                                     : recycleProb                              ? cuHolding
                                                                                : cuRecycle;
      EXPECT_EQ(obj->Backtype(), expected) << obj->TypName() << " " << recycleProb;
    }
  }
}

TEST_F(DefaultFormTest, EscapeCancels) {
  TDefaultForm form(false, folders, context);
  form.show();
  auto* lvDefs = Find(form).lvDefs;
  lvDefs->setFocus();
  SendKey(lvDefs, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace vorlo
