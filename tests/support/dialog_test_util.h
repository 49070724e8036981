// Small helpers for driving dialogs in the GUI tests.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <string>

#include "core/description.h"

namespace vorlo::testing {

inline void SendKey(QWidget* to, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(to, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(to, &release);
}

inline void LeftClick(QWidget* to, QPoint at) {
  const QPointF local(at);
  const QPointF global(to->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(to, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(to, &release);
}

// The description as a text view shows it: one line per break.
inline QString ShownText(const std::vector<DescPiece>& pieces) {
  const std::string text = DescriptionPlainText(pieces);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace(QStringLiteral("\r\n"),
                                                                                        QStringLiteral("\n"));
}

}  // namespace vorlo::testing
