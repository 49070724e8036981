// The schedule dialog over a service manager of the test's own: what it
// shows, what OK and Cancel do, and a refusal that keeps it open.
#include "dialogs/schedule_form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "support/fake_service_manager.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::FakeServiceManager;
using Steps = std::vector<std::string>;

class ScheduleFormTest : public ::testing::Test {
 protected:
  ScheduleFormTest() {
    std::filesystem::create_directories(root_ / "data");
    const std::string program = root_.Write("bin/vorlo-cli", "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    setup_.program = program;
  }

  static QRadioButton* Option(const TScheduleForm& form, const char* word) {
    return form.findChild<QRadioButton*>(QStringLiteral("rb") + QString::fromLatin1(word));
  }
  static std::string Text(const TScheduleForm& form, const char* label) {
    return form.findChild<QLabel*>(QString::fromLatin1(label))->text().toStdString();
  }
  static QPushButton* Button(const TScheduleForm& form, QDialogButtonBox::StandardButton which) {
    return form.findChild<QDialogButtonBox*>(QStringLiteral("buttons"))->button(which);
  }
  // At the default and the least size every line of every label has room.
  static void ExpectNothingCut(TScheduleForm& form) {
    for (const QSize size : {form.size(), form.minimumSize()}) {
      form.resize(size);
      QApplication::processEvents();
      EXPECT_EQ(form.size(), size);
      for (const QLabel* label : form.findChildren<QLabel*>())
        if (label->isVisible() && label->wordWrap()) {
          EXPECT_GE(label->height(), label->heightForWidth(label->width()))
              << label->objectName().toStdString() << " at " << size.width() << "x" << size.height();
        }
    }
  }
  bool TimerWritten() const { return std::filesystem::exists(setup_.unitFolder + "/vorlo-clean.timer"); }

  testing::TempDir root_;
  FakeServiceManager manager_;
  ScheduleSetup setup_{manager_, root_ / "units", "", "", DataFiles(root_ / "data")};
};

TEST_F(ScheduleFormTest, ChoosingAPeriodSchedulesItAndOffRemovesIt) {
  {
    TScheduleForm form(setup_);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Scheduled clean-up");
    const char* words[] = {"off", "daily", "weekly", "monthly"};
    const char* captions[] = {"&Off", "&Daily", "&Weekly", "&Monthly"};
    for (int i = 0; i < 4; ++i) {
      ASSERT_NE(Option(form, words[i]), nullptr) << words[i];
      EXPECT_EQ(Option(form, words[i])->text(), captions[i]);
      EXPECT_TRUE(Option(form, words[i])->isEnabled());
    }
    EXPECT_TRUE(Option(form, "off")->isChecked());
    EXPECT_EQ(Text(form, "lblStatus"), "Schedule: off");
    EXPECT_EQ(Text(form, "lblSkips"),
              "Scheduled clean-ups skip the junk types that delete files permanently, so every file they remove can "
              "be restored.");
    EXPECT_FALSE(form.findChild<QLabel*>(QStringLiteral("lblProblem"))->isVisible());

    // Cancel changes nothing.
    Option(form, "daily")->click();
    Button(form, QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(manager_.Steps().empty());
  }
  {
    TScheduleForm form(setup_);
    form.show();
    Option(form, "weekly")->click();
    Button(form, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(manager_.Steps(), (Steps{"daemon-reload", "enable --now vorlo-clean.timer"}));
    EXPECT_TRUE(TimerWritten());
  }
  manager_.calls.clear();
  manager_.last = "Sun 2030-01-06 00:04:10 UTC";
  ASSERT_EQ(RecordScheduledRun(setup_.files, {.files = 123, .bytes = 512, .errors = 3, .skipped = {}}), 0);
  {
    TScheduleForm form(setup_);
    form.show();
    EXPECT_TRUE(Option(form, "weekly")->isChecked());
    EXPECT_EQ(Text(form, "lblStatus"),
              "Schedule: weekly\nNext run: Mon 2030-01-07 00:03:00 UTC\nLast run: Sun 2030-01-06 00:04:10 UTC\n"
              "Last outcome: Removed 123 files (512 bytes). 3 files could not be removed: see the log.");
    ExpectNothingCut(form);
    // OK without a change asks nothing of the service manager.
    Button(form, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(manager_.Steps(), Steps{"show vorlo-clean.timer --property=UnitFileState,NextElapseUSecRealtime,LastTriggerUSec"});
  }
  manager_.calls.clear();
  {
    TScheduleForm form(setup_);
    form.show();
    Option(form, "off")->click();
    Button(form, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_NE(std::find(manager_.calls.begin(), manager_.calls.end(), "disable --now vorlo-clean.timer"),
              manager_.calls.end());
    EXPECT_FALSE(TimerWritten());
  }
}

TEST_F(ScheduleFormTest, ARefusalKeepsTheDialogOpenWithTheReason) {
  manager_.failing.insert("enable");
  TScheduleForm form(setup_);
  form.show();
  Option(form, "monthly")->click();
  Button(form, QDialogButtonBox::Ok)->click();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Text(form, "lblProblem"),
            "systemctl --user enable --now vorlo-clean.timer failed: Failed to enable: Access denied");
  EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("lblProblem"))->isVisible());
  EXPECT_EQ(Text(form, "lblStatus"), "Schedule: off");
  EXPECT_TRUE(Option(form, "monthly")->isChecked());  // the choice stays for another try
  EXPECT_FALSE(TimerWritten());
  ExpectNothingCut(form);
}

TEST_F(ScheduleFormTest, WithoutAServiceManagerThereIsNothingToChoose) {
  manager_.missing = "Failed to connect to bus: No medium found";
  TScheduleForm form(setup_);
  form.show();
  EXPECT_EQ(Text(form, "lblStatus"),
            "Vorlo cannot schedule clean-ups here: the user's service manager (systemctl --user) is not available: "
            "Failed to connect to bus: No medium found");
  for (const char* word : {"off", "daily", "weekly", "monthly"}) EXPECT_FALSE(Option(form, word)->isEnabled()) << word;
  EXPECT_FALSE(Button(form, QDialogButtonBox::Ok)->isEnabled());
  EXPECT_TRUE(Button(form, QDialogButtonBox::Cancel)->isEnabled());
  ExpectNothingCut(form);
}

}  // namespace
}  // namespace vorlo
