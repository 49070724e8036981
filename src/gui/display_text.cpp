#include "gui/display_text.h"

namespace vorlo {

QString DisplayText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace vorlo
