#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/junk_list_file.h"
#include "editor/spec_editors.h"
#include "editor/type_wizard.h"
#include "support/window_fixture.h"

namespace vorlo {
namespace {

using testing::WindowFixture;

// Points the window's wizard hook at a real wizard that `drive` operates
// like a user, without a modal loop of its own.
struct WizardDriver {
  explicit WizardDriver(WindowFixture& f) {
    f.wizard = [this, &f](QWidget* parent, const TJunkFileObj& tj, bool prob) -> std::optional<TJunkFileObj> {
      given = tj;
      TTypeWiz w(WizardSetup{.drives = f.run.drives,
                             .placements = f.placements,
                             .files = DataFiles(f.run.dir / "data/"),
                             .clock = f.run.clock,
                             .description = {"Local drives (/)", "/"},
                             .separators = {",", "."},
                             .programFolder = f.run.dir / "program",
                             .skipFolders = {},
                             .runActive = {}},
                 parent);
      w.SetFromObj(tj, prob);
      drive(w);
      if (w.result() != QDialog::Accepted) return std::nullopt;
      return w.GetFromObj();
    };
  }
  std::function<void(TTypeWiz&)> drive;
  TJunkFileObj given;
};

QPushButton* Button(TTypeWiz& w, const char* name) { return w.findChild<QPushButton*>(QString::fromUtf8(name)); }

void AddDelete(TTypeWiz& w, const std::string& spec) {
  QTimer::singleShot(0, &w, [spec] {
    auto* form = qobject_cast<TSpecForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    form->SetSpec(spec);
    form->accept();
  });
  Button(w, "aDelAdd")->click();
}

TEST(WizardAddEdit, AddAndEditEndInTheRecoveryFile) {
  WindowFixture f;
  WizardDriver wiz(f);
  f.Window();
  f.Window().UpdateActions();
  EXPECT_TRUE(f.A().aAdd->isEnabled());

  wiz.drive = [](TTypeWiz& w) { Button(w, "btnCancel")->click(); };
  f.A().aAdd->trigger();
  EXPECT_TRUE(f.Captions().empty());
  EXPECT_FALSE(std::filesystem::exists(f.Recovery()));

  wiz.drive = [](TTypeWiz& w) {
    w.findChild<QLineEdit*>(QStringLiteral("ebName"))->setText(QStringLiteral("Backups"));
    AddDelete(w, "*.bak");
    ASSERT_TRUE(Button(w, "btnFinish")->isEnabled());
    Button(w, "btnFinish")->click();
  };
  f.A().aAdd->trigger();
  EXPECT_EQ(wiz.given, TJunkFileObj());  // a new item starts from the defaults
  ASSERT_EQ(f.Captions(), std::vector<std::string>{"Backups"});
  auto stored = LoadJTFromFile(f.Recovery()).types;
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].Deletes(), SpecList{"*.bak"});
  EXPECT_TRUE(stored[0].Dirs().empty());

  f.Select(0);
  EXPECT_TRUE(f.A().aEdit->isEnabled());
  wiz.drive = [](TTypeWiz& w) {
    w.findChild<QLineEdit*>(QStringLiteral("ebName"))->setText(QStringLiteral("Old backups"));
    w.findChild<QCheckBox*>(QStringLiteral("cbEnabled"))->setChecked(false);
    Button(w, "btnFinish")->click();
  };
  f.A().aEdit->trigger();
  EXPECT_EQ(wiz.given.TypName(), "Backups");
  EXPECT_EQ(f.Captions(), std::vector<std::string>{"Old backups"});
  EXPECT_FALSE(f.run.list[0].checked);
  stored = LoadJTFromFile(f.Recovery()).types;
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].TypName(), "Old backups");
  EXPECT_FALSE(stored[0].IsChecked());
  EXPECT_EQ(stored[0].Deletes(), SpecList{"*.bak"});
}

}  // namespace
}  // namespace vorlo
