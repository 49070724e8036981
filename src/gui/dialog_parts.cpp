#include "gui/dialog_parts.h"

#include <QDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlo {

QFont PixelFont(const char* family, int pixels, bool underline) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setUnderline(underline);
  return font;
}

void SetWindowFont(QWidget& window, const char* family, int pixels) { window.setFont(PixelFont(family, pixels)); }

void SetUpWindow(QWidget& window, const char* name, const char* caption) {
  window.setObjectName(QString::fromUtf8(name));
  window.setWindowTitle(QString::fromUtf8(caption));
  SetWindowFont(window);
}

QPushButton* AddDoneStrip(QDialog& dialog, QVBoxLayout& layout) {
  auto* strip = new QWidget(&dialog);
  strip->setFixedHeight(28);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 2, 8, 3);
  auto* btnDone = new QPushButton(QStringLiteral("Done"), strip);
  btnDone->setObjectName(QStringLiteral("btnDone"));
  btnDone->setFixedSize(75, 23);
  btnDone->setDefault(true);
  stripLayout->addWidget(btnDone);
  stripLayout->addStretch(1);
  layout.addWidget(strip);
  QObject::connect(btnDone, &QPushButton::clicked, &dialog, &QDialog::accept);
  return btnDone;
}

}  // namespace vorlo
