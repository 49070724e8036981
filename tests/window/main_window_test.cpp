#include <gtest/gtest.h>

#include <QListView>

#include "app/window/junk_list_model.h"
#include "app/window/main_window.h"

namespace vorlo {
namespace {

TEST(MainWindow, ShowsEveryTypeWithNameAndCheckBox) {
  std::vector<TJunkFileObj> types(2);
  types[0].SetTypName("Caches");
  types[1].SetTypName("Bad \xFF name");
  types[1].SetIsChecked(false);
  JunkList list;
  for (const TJunkFileObj& t : types) list.Append(t);
  JunkListModel model(list);
  TMainForm window(model);
  window.show();

  auto* lvJunk = window.findChild<QListView*>(QStringLiteral("lvJunk"));
  ASSERT_NE(lvJunk, nullptr);
  QAbstractItemModel* shown = lvJunk->model();
  ASSERT_EQ(shown->rowCount(), 2);
  EXPECT_EQ(shown->index(0, 0).data().toString(), QStringLiteral("Caches"));
  EXPECT_EQ(shown->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_EQ(shown->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Vorlo"));

  // Ticking a row's box changes the box; the name's bytes stay as they were.
  EXPECT_TRUE(shown->setData(shown->index(1, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(list[1].checked);
  EXPECT_EQ(list[1].type->TypName(), "Bad \xFF name");
}

}  // namespace
}  // namespace vorlo
