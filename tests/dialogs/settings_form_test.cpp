#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "support/dialog_test_util.h"

namespace vorlo {
namespace {

struct Recorder {
  std::vector<PriorityClass> applied;
  TSettingsform::PrioritySetter Setter() {
    return [this](PriorityClass c) { applied.push_back(c); };
  }
};

TEST(SettingsForm, LayoutAndDefaultOption) {
  Recorder r;
  TSettingsform form(nullptr, r.Setter());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Settingsform"));
  EXPECT_EQ(form.size(), QSize(319, 245));
  EXPECT_EQ(form.RadioGroup1->title(), QStringLiteral("Power-Mode"));
  EXPECT_EQ(form.Items[0]->text(), QStringLiteral("REALTIME_PRIORITY_CLASS"));
  EXPECT_EQ(form.Items[1]->text(), QStringLiteral("Normal"));
  EXPECT_EQ(form.Items[2]->text(), QStringLiteral("High"));
  EXPECT_EQ(form.btnCancel->text(), QStringLiteral("&Cancel"));
  EXPECT_EQ(form.btnOK->text(), QStringLiteral("&Okay"));
  EXPECT_LT(form.btnCancel->x(), form.btnOK->x());
  EXPECT_TRUE(form.Items[2]->isChecked());
}

TEST(SettingsForm, OkayAppliesTheChoiceAndANewWindowStartsAtHigh) {
  const struct {
    int index;
    PriorityClass applied;
  } cases[] = {{0, PriorityClass::Realtime}, {1, PriorityClass::Normal}, {2, PriorityClass::High}};
  for (const auto& c : cases) {
    Recorder r;
    TSettingsform form(nullptr, r.Setter());
    EXPECT_EQ(form.ItemIndex(), 2);  // whatever the previous window chose
    form.Items[c.index]->click();
    form.btnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(r.applied, std::vector<PriorityClass>{c.applied}) << c.index;
  }
}

TEST(SettingsForm, CancelAndEscapeApplyNothing) {
  Recorder r;
  TSettingsform form(nullptr, r.Setter());
  form.show();
  form.Items[1]->click();
  testing::SendKey(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());  // Escape is not bound to a button
  testing::SendKey(form.Items[1], Qt::Key_Return);
  EXPECT_TRUE(form.isVisible());  // nor is Enter
  form.btnCancel->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_TRUE(r.applied.empty());
}

}  // namespace
}  // namespace vorlo
