#include "editor/picker_pictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace vorlo {

namespace {

QPixmap Blank(QSize size) {
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  return pm;
}

QPixmap Folder(const QColor& body, bool plus) {
  QPixmap pm = Blank(TDirSelImages::kPictureSize);
  QPainter p(&pm);
  const QColor outline = body.darker(220);
  // Tab on the upper left, then the body.
  p.setPen(QPen(outline, 1));
  p.setBrush(body.darker(115));
  p.drawRect(1, 2, 6, 3);
  p.setBrush(body);
  p.drawRect(1, 4, 13, 9);
  p.setPen(QPen(body.lighter(140), 1));
  p.drawLine(2, 5, 13, 5);
  if (plus) {
    p.fillRect(5, 8, 6, 2, Qt::black);
    p.fillRect(7, 6, 2, 6, Qt::black);
  }
  return pm;
}

QPixmap CheckBox(bool ticked) {
  QPixmap pm = Blank(TDirSelImages::kPictureSize);
  QPainter p(&pm);
  p.setPen(QPen(QColor(28, 81, 128), 1));
  p.setBrush(Qt::white);
  p.drawRect(1, 1, 12, 12);
  if (ticked) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(33, 161, 33), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(3.5, 7);
    tick.lineTo(6, 9.5);
    tick.lineTo(11, 4);
    p.drawPath(tick);
  }
  return pm;
}

}  // namespace

QPixmap DrawDirSelPicture(int index) {
  const QColor green(0, 168, 0);
  switch (index) {
    case 0:
    case 7: return Folder(green, true);
    case 1: return Folder(QColor(220, 30, 30), true);
    case 2: return Folder(green, false);
    case 3: return Folder(QColor(250, 215, 40), false);
    case 4: return Folder(QColor(165, 165, 165), false);
    case 5: return CheckBox(true);
    case 6: return CheckBox(false);
    default: return Blank(TDirSelImages::kPictureSize);
  }
}

TDirSelImages::TDirSelImages() {
  for (int i = 0; i < kCount; ++i) pictures_[static_cast<size_t>(i)] = DrawDirSelPicture(i);
  for (int sub = 0; sub < 5; ++sub) {
    for (int f = 0; f < 3; ++f) {
      QPixmap pm = Blank(kNodeIconSize);
      {
        QPainter p(&pm);
        if (f < 2) {
          p.drawPixmap(0, 0, pictures_[static_cast<size_t>(5 + f)]);
          p.drawPixmap(kPictureSize.width(), 0, pictures_[static_cast<size_t>(sub)]);
        } else {
          p.drawPixmap(0, 0, pictures_[static_cast<size_t>(sub)]);
        }
      }
      QIcon icon;
      icon.addPixmap(pm, QIcon::Normal);
      icon.addPixmap(pm, QIcon::Selected);
      nodeIcons_[static_cast<size_t>(sub)][static_cast<size_t>(f)] = icon;
    }
  }
}

const QPixmap& TDirSelImages::Picture(int index) const {
  static const QPixmap none;
  if (index < 0 || index >= kCount) return none;
  return pictures_[static_cast<size_t>(index)];
}

const QIcon& TDirSelImages::NodeIcon(int sub, int fol) const {
  static const QIcon none;
  if (sub < 0 || sub > 4) return none;
  const size_t f = fol == 5 ? 0 : fol == 6 ? 1 : 2;
  return nodeIcons_[static_cast<size_t>(sub)][f];
}

}  // namespace vorlo
