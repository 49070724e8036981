#include "gui/description_view.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "gui/display_text.h"

namespace vorlo {

namespace {

const QString kFontFamily = QStringLiteral("Arial");

QTextCharFormat PieceFormat(TextStyle style, int size) {
  QTextCharFormat f;
  f.setFontFamilies({kFontFamily});
  f.setFontPointSize(size);
  f.setFontWeight(style == TextStyle::Bold || style == TextStyle::BoldUnderline ? QFont::Bold : QFont::Normal);
  f.setFontItalic(style == TextStyle::Italic);
  f.setFontUnderline(style == TextStyle::BoldUnderline);
  return f;
}

}  // namespace

void ShowDescription(QTextEdit& vRE, const std::vector<DescPiece>& pieces) {
  vRE.clear();
  vRE.setReadOnly(true);
  QTextDocument& doc = *vRE.document();
  doc.setDefaultFont(QFont(kFontFamily, 10));
  QTextCursor cursor(&doc);
  cursor.beginEditBlock();
  for (const DescPiece& piece : pieces) {
    const QTextCharFormat format = PieceFormat(piece.style, piece.size);
    cursor.setCharFormat(format);
    // insertText would turn the CR and the LF of a break into two blocks;
    // one block per break keeps the lines as written.
    cursor.insertText(DisplayText(piece.text), format);
    for (int i = 0; i < piece.rets; ++i) cursor.insertBlock(cursor.blockFormat(), format);
  }
  cursor.endEditBlock();
  cursor.movePosition(QTextCursor::Start);
  vRE.setTextCursor(cursor);
  vRE.ensureCursorVisible();
}

void REDisplay(QTextEdit& vRE, const TJunkFileObj& TJ, const DescriptionContext& context) {
  ShowDescription(vRE, REDisplay(TJ, context));
}

}  // namespace vorlo
