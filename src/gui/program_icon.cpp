#include "gui/program_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace vorlo {

QPixmap ProgramIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);  // drawn on the SVG's 64 x 64 grid
  const QColor teal(0x1f, 0x7a, 0x8c);
  p.setPen(Qt::NoPen);
  p.setBrush(teal);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(27, 11, 10, 6), 2, 2);
  p.drawRoundedRect(QRectF(16, 16, 32, 5), 2, 2);
  QPainterPath body;
  body.moveTo(19, 24);
  body.lineTo(45, 24);
  body.lineTo(42, 53);
  body.lineTo(22, 53);
  body.closeSubpath();
  p.drawPath(body);
  p.setPen(QPen(teal, 3, Qt::SolidLine, Qt::RoundCap));
  for (const int x : {27, 32, 37}) p.drawLine(QPointF(x, 29), QPointF(x, 48));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xd5, 0x4f));
  const QPointF star[] = {{51, 5}, {53, 11}, {59, 13}, {53, 15}, {51, 21}, {49, 15}, {43, 13}, {49, 11}};
  p.drawPolygon(star, 8);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(ProgramIconPixmap(size));
  return icon;
}

}  // namespace vorlo
