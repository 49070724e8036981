#include "gui/display_text.h"

#include "core/text.h"

namespace vorlo {

QString DisplayText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString EditText(std::string_view bytes) {
  QString out;
  for (const char32_t c : DecodeUtf8(bytes)) {
    if (c >= 0x10000) {
      out += QChar(QChar::highSurrogate(c));
      out += QChar(QChar::lowSurrogate(c));
    } else {
      out += QChar(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string EditBytes(const QString& text) {
  std::u32string cps;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      cps.push_back(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
      ++i;
    } else {
      cps.push_back(c);
    }
  }
  return EncodeUtf8(cps);
}

}  // namespace vorlo
