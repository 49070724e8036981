#include "editor/comparison_diagram.h"
#include "gui/dialog_parts.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPalette>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace vorlo {
namespace {

constexpr int kItemHeight = 18;

class ComparisonDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    DrawComparisonItem(*painter, option.rect, index.row(), index.data(Qt::DisplayRole).toString(),
                       option.state.testFlag(QStyle::State_Selected), option.palette);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
};

void DrawBox(QPainter& painter, int x, int y, bool filled) {
  const QPoint points[] = {{x, y}, {x + cSiz, y}, {x + cSiz, y + cSiz}, {x, y + cSiz}, {x, y}};
  if (filled) {
    painter.setBrush(QColor(255, 0, 0));
    painter.drawPolygon(points, 4);
    painter.setBrush(Qt::NoBrush);
  } else {
    painter.drawPolyline(points, 5);
  }
}

}  // namespace

ComparisonDiagram DiagramOf(int index, int L, int /*T*/, int R, int B) {
  ComparisonDiagram d;
  const int cx = (L + R - cSiz) / 2;
  d.yBox = B - 5;
  d.yLine = d.yBox + 2;
  const int off = (R - L) / 4;
  using P = DiagramPart;
  const P leftHalfDot{P::DottedLine, L, cx}, leftHalfThick{P::ThickLine, L, cx};
  const P rightHalfDot{P::DottedLine, cx + cSiz, R}, rightHalfThick{P::ThickLine, cx + cSiz, R};
  const P filledCentre{P::FilledBox, cx, 0}, openCentre{P::OpenBox, cx, 0};
  const int lx = cx - off, rx = cx + off;
  switch (index) {
    case 0:
      d.parts = {leftHalfDot, filledCentre, rightHalfDot};
      break;
    case 1:
      d.parts = {leftHalfThick, openCentre, rightHalfDot};
      break;
    case 2:
      d.parts = {leftHalfDot, filledCentre, rightHalfThick};
      break;
    case 3:
      d.parts = {{P::DottedLine, L, lx}, {P::FilledBox, lx, 0}, {P::ThickLine, lx + cSiz, rx},
                 {P::OpenBox, rx, 0},    {P::DottedLine, rx + cSiz, R}};
      break;
    case 4:
      d.parts = {{P::ThickLine, L, lx}, {P::OpenBox, lx, 0}, {P::DottedLine, lx + cSiz, rx},
                 {P::FilledBox, rx, 0}, {P::ThickLine, rx + cSiz, R}};
      break;
    default:
      break;
  }
  return d;
}

void DrawComparisonItem(QPainter& painter, const QRect& rect, int index, const QString& text, bool selected,
                        const QPalette& palette) {
  painter.save();
  painter.setClipRect(rect);
  painter.fillRect(rect, selected ? palette.highlight() : palette.base());
  painter.setPen(selected ? palette.highlightedText().color() : palette.text().color());
  const QRect textRect(rect.left() + 2, rect.top(), rect.width() - 2, rect.height());
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);

  painter.setRenderHint(QPainter::Antialiasing, false);
  const QColor red(255, 0, 0);
  // Right and bottom lie just outside the item, as the diagram expects.
  const ComparisonDiagram d =
      DiagramOf(index, rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
  for (const DiagramPart& part : d.parts) {
    QPen pen(red, 1, Qt::SolidLine);
    if (part.kind == DiagramPart::DottedLine) pen.setStyle(Qt::DotLine);
    if (part.kind == DiagramPart::ThickLine) pen.setWidth(2);
    painter.setPen(pen);
    if (part.kind == DiagramPart::OpenBox || part.kind == DiagramPart::FilledBox)
      DrawBox(painter, part.x1, d.yBox, part.kind == DiagramPart::FilledBox);
    else
      painter.drawLine(part.x1, d.yLine, part.x2, d.yLine);
  }
  painter.restore();
}

TComparisonBox::TComparisonBox(QWidget* parent) : QComboBox(parent) {
  SetWindowFont(*this, "Arial", 11);
  setItemDelegate(new ComparisonDelegate(this));
}

void TComparisonBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  if (currentIndex() >= 0)
    DrawComparisonItem(painter, field, currentIndex(), currentText(), hasFocus(), palette());
}

}  // namespace vorlo
