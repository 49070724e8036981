// The wizard's folder rows and specification lines keep their entry's bytes
// beside the display text, so a name that is not UTF-8 survives the edit.
#pragma once

#include <QListWidgetItem>
#include <QString>
#include <QTreeWidgetItem>
#include <string>
#include <string_view>
#include "gui/display_text.h"

namespace vorlo::wizard {

inline constexpr int kRawRole = Qt::UserRole + 1;  // the entry's bytes, never rebuilt from display text


inline QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

inline std::string RawOf(const QTreeWidgetItem& row) { return row.data(0, kRawRole).toByteArray().toStdString(); }
inline std::string RawOf(const QListWidgetItem& line) { return line.data(kRawRole).toByteArray().toStdString(); }

inline void SetLine(QListWidgetItem& line, const std::string& s) {
  line.setText(DisplayText(s));
  line.setData(kRawRole, Bytes(s));
}

inline QListWidgetItem* MakeLine(const std::string& s) {
  auto* line = new QListWidgetItem;
  SetLine(*line, s);
  return line;
}

}  // namespace vorlo::wizard
