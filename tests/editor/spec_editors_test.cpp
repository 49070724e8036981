#include "editor/spec_editors.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "core/wildcard.h"
#include "support/env_guard.h"
#include "support/memory_placements.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::TempDir;

template <typename T>
T* Child(QWidget& form, const char* name) {
  T* child = form.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QString Q(const char* s) { return QString::fromUtf8(s); }

void Type(QLineEdit* edit, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
  }
}

struct SpecCase {
  const char* text;
  const char* status;
  bool ok;
};

// The status looks at the last period; a period that begins the text
// belongs to a dot-file's name. File names need no extension.
const SpecCase kSpecCases[] = {
    {"*.*", "Warning: Matches all files!", true},
    {"*.tmp", "", true},
    {"a?c.txt", "", true},
    {"readme.txt", "Note: Matches exact filename only", true},
    {"a.b.c", "Note: Matches exact filename only", true},
    {"~*.*", "Warning: * in both name and extension", true},
    {"x*.t*", "Warning: * in both name and extension", true},
    {"page.html", "Note: Extension longer than 3 letters", true},
    {"*.html", "Note: Extension longer than 3 letters", true},
    {"core.", "Note: Only matches files with no extension", true},
    {"core", "Note: Only matches files with no extension", true},
    {"*~", "Note: Only matches files with no extension", true},
    {"Makefile~", "Note: Only matches files with no extension", true},
    {".xsession-errors.old", "Note: Matches exact filename only", true},
    {".xsession-errors", "Note: Matches exact filename only", true},
    {".txt", "Note: Matches exact filename only", true},
    {".tmp.bak", "Note: Matches exact filename only", true},
    {".cache*", "", true},
    {"", "Must enter filename", false},
    {".", "Must enter filename", false},
    {"..", "Must enter filename", false},
};

class SpecFormTest : public ::testing::Test {
 protected:
  TempDir dir;
  testing::MemoryPlacements placements;
};

TEST_F(SpecFormTest, StatusAndOkFollowTheTextInBothEditors) {
  TSpecForm spec(placements);
  TNameForm name(placements);
  for (QDialog* form : {static_cast<QDialog*>(&spec), static_cast<QDialog*>(&name)}) {
    auto* ebSpec = Child<QLineEdit>(*form, "ebSpec");
    for (const SpecCase& c : kSpecCases) {
      ebSpec->setText(QStringLiteral("x"));  // so that every case is a change
      ebSpec->setText(Q(c.text));
      EXPECT_EQ(Child<QLabel>(*form, "lblStat")->text(), Q(c.status)) << form->objectName().toStdString() << ": " << c.text;
      EXPECT_EQ(Child<QPushButton>(*form, "btnOK")->isEnabled(), c.ok) << form->objectName().toStdString() << ": " << c.text;
    }
  }
}

// A dotless protect pattern is kept with a final period, so that it spares
// the files it names: protect patterns meet every dotless name with one.
TEST_F(SpecFormTest, LinuxProtectPatternsProtectTheNamesTheyRead) {
  const struct {
    const char* typed;
    const char* stored;
    const char* protects;
    const char* spares;
  } cases[] = {
      {"core", "core.", "core", "core.txt"},
      {"*~", "*~.", "notes~", "letter.txt~"},  // as the delete specification *~ takes them
      {".xsession-errors.old", ".xsession-errors.old", ".xsession-errors.old", ".xsession-errors"},
      {".bashrc", ".bashrc", ".bashrc", "bashrc"},
  };
  for (const auto& c : cases) {
    TNameForm form(placements);
    Child<QLineEdit>(form, "ebSpec")->setText(Q(c.typed));
    EXPECT_TRUE(Child<QPushButton>(form, "btnOK")->isEnabled()) << c.typed;
    EXPECT_EQ(form.GetSpec(), c.stored);
    EXPECT_TRUE(MyPathMatchSpec(c.protects, form.GetSpec())) << c.typed;
    EXPECT_FALSE(MyPathMatchSpec(c.spares, form.GetSpec())) << c.typed;
  }
}

TEST_F(SpecFormTest, OpensEmptyOrLoaded) {
  TSpecForm empty(placements);
  EXPECT_EQ(Child<QLabel>(empty, "lblStat")->text(), QString());
  EXPECT_FALSE(Child<QPushButton>(empty, "btnOK")->isEnabled());

  TSpecForm loaded(placements);
  loaded.SetSpec("*.tmp");
  EXPECT_TRUE(Child<QPushButton>(loaded, "btnOK")->isEnabled());
  EXPECT_EQ(loaded.GetSpec(), "*.tmp");
  loaded.SetSpec("na\xefve*.\xff");  // bytes that are not UTF-8 come back unchanged
  EXPECT_EQ(loaded.GetSpec(), "na\xefve*.\xff");
}

TEST_F(SpecFormTest, ForbiddenCharactersAreRefusedWhenTypedAndRemovedWhenPasted) {
  TSpecForm spec(placements);
  auto* ebSpec = Child<QLineEdit>(spec, "ebSpec");
  Type(ebSpec, Q("a:b\\c/\"<>|.t?"));
  EXPECT_EQ(ebSpec->text(), Q("abc.t?"));

  ebSpec->setText(Q("C:\\temp\\*.log"));
  EXPECT_EQ(ebSpec->text(), Q("Ctemp*.log"));
  EXPECT_EQ(ebSpec->cursorPosition(), 10);
  EXPECT_EQ(spec.GetSpec(), "Ctemp*.log");

  TNameForm name(placements);
  auto* ebName = Child<QLineEdit>(name, "ebName");
  Type(ebName, Q("/a*b?<c>|\"d"));
  EXPECT_EQ(ebName->text(), Q("/abcd"));
  ebName->setText(Q("/x/*?y"));
  EXPECT_EQ(ebName->text(), Q("/x/y"));
}

TEST_F(SpecFormTest, NameFormOpensInTheModeOfTheEntry) {
  TNameForm fresh(placements);
  EXPECT_TRUE(Child<QRadioButton>(fresh, "rbSpec")->isChecked());
  EXPECT_EQ(Child<QLabel>(fresh, "lblStat")->text(), Q("Must enter filename"));
  EXPECT_FALSE(Child<QPushButton>(fresh, "btnOK")->isEnabled());

  const struct {
    const char* entry;
    bool fullName;
    const char* status;
    bool ok;
  } cases[] = {
      {"*.sys", false, "", true},
      {"/no/such/file", true, "File does not exist", true},
      {"rel/path.txt", true, "Enter full path", false},
      {"C:\\boot.ini", true, "Enter full path", false},
      {"/bad\xfe/name", true, "File does not exist", true},
  };
  for (const auto& c : cases) {
    TNameForm form(placements);
    form.SetSpec(c.entry);
    EXPECT_EQ(Child<QRadioButton>(form, "rbName")->isChecked(), c.fullName) << c.entry;
    EXPECT_EQ(Child<QLabel>(form, "lblStat")->text(), Q(c.status)) << c.entry;
    EXPECT_EQ(Child<QPushButton>(form, "btnOK")->isEnabled(), c.ok) << c.entry;
    EXPECT_EQ(form.GetSpec(), c.entry);
  }
}

TEST_F(SpecFormTest, FullNameStatusFollowsLinksAndIgnoresFolders) {
  const std::string file = dir.Write("keep.dat", "x");
  std::filesystem::create_symlink(file, dir / "link");
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");
  const struct {
    std::string path;
    const char* status;
  } cases[] = {
      {file, "File exists"},
      {dir / "link", "File exists"},
      {dir / "dangling", "File does not exist"},
      {dir.path(), "File does not exist"},
  };
  for (const auto& c : cases) {
    TNameForm form(placements);
    form.SetSpec(c.path);
    EXPECT_EQ(Child<QLabel>(form, "lblStat")->text(), Q(c.status)) << c.path;
    EXPECT_TRUE(Child<QPushButton>(form, "btnOK")->isEnabled()) << c.path;
  }
}

TEST_F(SpecFormTest, SwitchingKindRechecksTheChosenEdit) {
  TNameForm form(placements);
  auto* rbSpec = Child<QRadioButton>(form, "rbSpec");
  auto* rbName = Child<QRadioButton>(form, "rbName");
  auto* lblStat = Child<QLabel>(form, "lblStat");
  auto* btnOK = Child<QPushButton>(form, "btnOK");
  Child<QLineEdit>(form, "ebSpec")->setText(Q("."));
  Child<QLineEdit>(form, "ebName")->setText(Q("/tmp/x"));
  EXPECT_TRUE(rbSpec->isChecked());  // typing into ebName does not switch
  EXPECT_FALSE(btnOK->isEnabled());

  QFocusEvent focusName(QEvent::FocusIn);
  QApplication::sendEvent(Child<QLineEdit>(form, "ebName"), &focusName);
  EXPECT_TRUE(rbName->isChecked());
  EXPECT_EQ(form.GetSpec(), "/tmp/x");
  EXPECT_TRUE(btnOK->isEnabled());
  rbSpec->click();
  EXPECT_FALSE(rbName->isChecked());
  EXPECT_EQ(lblStat->text(), Q("Must enter filename"));
  EXPECT_FALSE(btnOK->isEnabled());
  EXPECT_EQ(form.GetSpec(), ".");

  rbName->click();
  QFocusEvent focusSpec(QEvent::FocusIn);
  QApplication::sendEvent(Child<QLineEdit>(form, "ebSpec"), &focusSpec);
  EXPECT_TRUE(rbSpec->isChecked());
}

TEST_F(SpecFormTest, BothEditorsSaveTheirPositionWhenClosed) {
  {
    TSpecForm spec(placements);
    TNameForm name(placements);
    EXPECT_EQ(placements.saves, 0);
    spec.reject();
    name.accept();
  }
  EXPECT_EQ(placements.saves, 3);  // nothing more when destroyed
  const IniDocument saved = placements.Doc();
  std::vector<std::string> keys{"Left", "Top", "MinX", "MinY", "MaxX", "MaxY", "ShowCmd", "flags"};
  EXPECT_EQ(saved.Keys("SpecForm Settings"), keys);
  keys.push_back("InitialDir");
  EXPECT_EQ(saved.Keys("NameForm Settings"), keys);
}

TEST_F(SpecFormTest, BrowseSwitchesToFullNameAndRemembersTheFolder) {
  const std::string file = dir.Write("sub/chosen.txt", "x");
  QString startedIn;
  {
    placements.WriteIniString("NameForm Settings", "InitialDir", dir / "sub");
    TNameForm form(placements);
    EXPECT_EQ(form.InitialDir(), QString::fromStdString(dir / "sub/"));
    form.SetSpec("*.sys");
    form.SetFileChooser([&](QWidget*, const QString& start) -> std::optional<QString> {
      startedIn = start;
      return QString::fromStdString(file);
    });
    Child<QPushButton>(form, "btnBrowse")->click();
    EXPECT_TRUE(Child<QRadioButton>(form, "rbName")->isChecked());
    EXPECT_EQ(form.GetSpec(), file);
    EXPECT_EQ(Child<QLabel>(form, "lblStat")->text(), Q("File exists"));

    form.SetFileChooser([](QWidget*, const QString&) { return std::optional<QString>(); });
    Child<QPushButton>(form, "btnBrowse")->click();  // cancelled: nothing changes
    EXPECT_EQ(form.GetSpec(), file);
    form.reject();
  }
  EXPECT_EQ(startedIn, QString::fromStdString(dir / "sub/"));
  EXPECT_EQ(placements.ReadIniString("NameForm Settings", "InitialDir"), dir / "sub/");

  // An empty value, or none, starts in the home folder.
  testing::EnvGuard env;
  env.Set("HOME", dir.path());
  placements.WriteIniString("NameForm Settings", "InitialDir", "");
  TNameForm fresh(placements);
  EXPECT_EQ(fresh.InitialDir(), QString::fromStdString(dir.path() + "/"));
  testing::MemoryPlacements none;
  TNameForm first(none);
  EXPECT_EQ(first.InitialDir(), QString::fromStdString(dir.path() + "/"));
}

}  // namespace
}  // namespace vorlo
