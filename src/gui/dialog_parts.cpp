#include "gui/dialog_parts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlo {

void SetWindowFont(QWidget& window) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  window.setFont(font);
}

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
