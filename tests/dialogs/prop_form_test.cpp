#include "dialogs/prop_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "gui/description_view.h"
#include "support/dialog_test_util.h"
#include "support/memory_placements.h"

namespace vorlo {
namespace {

using enum CleanupMethod;
using enum FolderRule;

using testing::ShownText;
using testing::MemoryPlacements;

// Format of the character at `pos`.
QTextCharFormat FormatAt(QTextDocument& doc, int pos) {
  QTextCursor c(&doc);
  c.setPosition(pos + 1);
  return c.charFormat();
}

TEST(DescriptionView, PiecesKeepStyleSizeAndBreaks) {
  struct Case {
    DescPiece piece;
    bool bold, italic, underline;
  };
  const std::vector<Case> cases = {
      {{TextStyle::Bold, 14, 0, "Type: "}, true, false, false},
      {{TextStyle::BoldUnderline, 14, 2, "Name"}, true, false, true},
      {{TextStyle::Italic, 12, 1, "Heading:"}, false, true, false},
      {{TextStyle::Regular, 10, 0, "\t/tmp/\xC3\xA4"}, false, false, false},
      {{TextStyle::Bold, 10, 1, "x"}, true, false, false},
  };
  std::vector<DescPiece> pieces;
  for (const Case& c : cases) pieces.push_back(c.piece);

  QTextEdit view;
  view.setPlainText(QStringLiteral("old text"));
  ShowDescription(view, pieces);
  EXPECT_TRUE(view.isReadOnly());
  EXPECT_EQ(view.toPlainText(), QStringLiteral("Type: Name\n\nHeading:\n\t/tmp/\u00E4x\n"));
  EXPECT_EQ(view.textCursor().position(), 0);

  int pos = 0;
  for (const Case& c : cases) {
    const QString text = QString::fromUtf8(c.piece.text.c_str());
    const QTextCharFormat f = FormatAt(*view.document(), pos);
    const std::string where = c.piece.text;
    EXPECT_EQ(f.fontWeight() >= QFont::Bold, c.bold) << where;
    EXPECT_EQ(f.fontItalic(), c.italic) << where;
    EXPECT_EQ(f.fontUnderline(), c.underline) << where;
    EXPECT_EQ(f.fontPointSize(), c.piece.size) << where;
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Arial")) << where;
    pos += static_cast<int>(text.size()) + c.piece.rets;
  }
}

TEST(PropForm, ShowsTheTypeReadOnly) {
  MemoryPlacements placements;
  const DescriptionContext context{"Local drives (/,/home)", "."};
  TJunkFileObj type("Logs", false, cuHolding, {{"/var/log", pFolOnly}, {"/home/u/logs", pFolAndSub}},
                    {"*.log", "*.old"}, {"keep.log"}, DateRestriction{}, AgeRestriction{true, 3, 2, 3},
                    SizeRestriction{{true, 1, 100, 0}, 1});
  TPropForm form(context, placements);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Vorlo - junk file type properties"));
  form.SetFromObj(type);

  auto* reProps = form.findChild<QTextEdit*>(QStringLiteral("reProps"));
  ASSERT_NE(reProps, nullptr);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(type, context)));
  EXPECT_TRUE(reProps->isReadOnly());
  EXPECT_EQ(reProps->textCursor().position(), 0);

  QTextDocument& doc = *reProps->document();
  const QTextCharFormat title = FormatAt(doc, 0);
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_EQ(title.fontPointSize(), 14);
  const int heading = doc.toPlainText().indexOf(QStringLiteral("Search for files in these folders:"));
  ASSERT_GE(heading, 0);
  const QTextCharFormat h = FormatAt(doc, heading);
  EXPECT_TRUE(h.fontItalic());
  EXPECT_EQ(h.fontWeight(), QFont::Normal);
  EXPECT_EQ(h.fontPointSize(), 12);

  // Typing changes nothing.
  form.show();
  reProps->setFocus();
  testing::SendKey(reProps, Qt::Key_X);
  testing::SendKey(reProps, Qt::Key_Delete);
  EXPECT_EQ(reProps->toPlainText(), ShownText(REDisplay(type, context)));
}

TEST(PropForm, DoneEnterAndEscapeCloseWithOk) {
  MemoryPlacements placements;
  for (int key : {0, int(Qt::Key_Escape), int(Qt::Key_Return)}) {
    TPropForm form(DescriptionContext{}, placements);
    form.SetFromObj(TJunkFileObj());
    form.show();
    auto* reProps = form.findChild<QTextEdit*>(QStringLiteral("reProps"));
    reProps->setFocus();
    if (key == 0)
      form.findChild<QPushButton*>(QStringLiteral("btnDone"))->click();
    else
      testing::SendKey(reProps, key);
    EXPECT_FALSE(form.isVisible()) << key;
    EXPECT_EQ(form.result(), QDialog::Accepted) << key;
  }
}

}  // namespace
}  // namespace vorlo
