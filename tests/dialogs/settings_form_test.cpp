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

template <class W>
W* Part(const TSettingsform& form, const QString& name) {
  W* w = form.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name.toStdString();
  return w;
}
QRadioButton* Item(const TSettingsform& form, int i) {
  return Part<QRadioButton>(form, QStringLiteral("Items%1").arg(i));
}
QPushButton* Button(const TSettingsform& form, const char* name) {
  return Part<QPushButton>(form, QString::fromLatin1(name));
}

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
  EXPECT_EQ(Part<QGroupBox>(form, QStringLiteral("RadioGroup1"))->title(), QStringLiteral("Power-Mode"));
  EXPECT_EQ(Item(form, 0)->text(), QStringLiteral("REALTIME_PRIORITY_CLASS"));
  EXPECT_EQ(Item(form, 1)->text(), QStringLiteral("Normal"));
  EXPECT_EQ(Item(form, 2)->text(), QStringLiteral("High"));
  EXPECT_EQ(Button(form, "btnCancel")->text(), QStringLiteral("&Cancel"));
  EXPECT_EQ(Button(form, "btnOK")->text(), QStringLiteral("&Okay"));
  EXPECT_LT(Button(form, "btnCancel")->x(), Button(form, "btnOK")->x());
  EXPECT_TRUE(Item(form, 2)->isChecked());
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
    Item(form, c.index)->click();
    Button(form, "btnOK")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(r.applied, std::vector<PriorityClass>{c.applied}) << c.index;
  }
}

TEST(SettingsForm, CancelAndEscapeApplyNothing) {
  Recorder r;
  TSettingsform form(nullptr, r.Setter());
  form.show();
  Item(form, 1)->click();
  testing::SendKey(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());  // Escape is not bound to a button
  testing::SendKey(Item(form, 1), Qt::Key_Return);
  EXPECT_TRUE(form.isVisible());  // nor is Enter
  Button(form, "btnCancel")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_TRUE(r.applied.empty());
}

}  // namespace
}  // namespace vorlo
