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
  JunkListModel model;
  model.SetTypes(types);
  TMainForm window(model);
  window.show();

  auto* list = window.findChild<QListView*>(QStringLiteral("lvJunk"));
  ASSERT_NE(list, nullptr);
  QAbstractItemModel* shown = list->model();
  ASSERT_EQ(shown->rowCount(), 2);
  EXPECT_EQ(shown->index(0, 0).data().toString(), QStringLiteral("Caches"));
  EXPECT_EQ(shown->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_EQ(shown->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Vorlo"));

  // Ticking a row's box changes its type; the name's bytes stay as they were.
  EXPECT_TRUE(shown->setData(shown->index(1, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(model.Types()[1].IsChecked());
  EXPECT_EQ(model.Types()[1].TypName(), "Bad \xFF name");
}

}  // namespace
}  // namespace vorlo
