#include "platform/locale_info.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <ctime>
#include <utility>

#include "platform/codeset.h"

namespace vorlo {

namespace {

// The user's numeric and time categories, as the environment names them.
class UserLocale {
 public:
  // LC_CTYPE too: it names the code set the separators are written in.
  UserLocale()
      : loc_(newlocale(LC_CTYPE_MASK | LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(nullptr))) {}
  ~UserLocale() {
    if (loc_ != static_cast<locale_t>(nullptr)) freelocale(loc_);
  }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

  bool Loaded() const { return loc_ != static_cast<locale_t>(nullptr); }

  // An item as UTF-8; empty when it cannot be converted.
  std::string Item(nl_item item) const {
    const char* raw = nl_langinfo_l(item, loc_);
    if (raw == nullptr) return {};
    return AsUtf8(raw);
  }

  std::string Time(const char* format, const std::tm& t) const {
    char buffer[256];
    const size_t n = strftime_l(buffer, sizeof buffer, format, &t, loc_);
    return AsUtf8(std::string(buffer, n));
  }

 private:
  std::string AsUtf8(std::string text) const {
    if (IsUtf8(text)) return text;
    const char* codeset = nl_langinfo_l(CODESET, loc_);
    if (codeset == nullptr) return {};
    return ToUtf8(text, codeset);
  }

  static bool IsUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
      const auto c = static_cast<unsigned char>(s[i]);
      const size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
      if (n == 0 || (n == 2 && c < 0xC2) || i + n > s.size()) return false;
      for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
      i += n;
    }
    return true;
  }

  // Locales in a legacy code set give their separators in that code set
  // (a non-breaking space, for one); the program's texts are UTF-8.
  static std::string ToUtf8(const std::string& text, const char* codeset) {
    return ConvertToUtf8(text, codeset).value_or(std::string());
  }

  locale_t loc_;
};

size_t Utf8CharLength(std::string_view s, size_t i) {
  size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

std::string DateSeparatorOfFormat(std::string_view format) {
  bool afterField = false;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      if (!afterField) {
        ++i;
        continue;
      }
      // Literal text after a field counts only when another field follows.
      const size_t next = format.find('%', i);
      if (next == std::string_view::npos) return {};
      return std::string(format.substr(i, Utf8CharLength(format, i)));
    }
    ++i;
    while (i < format.size() && std::strchr("-_0^#", format[i]) != nullptr) ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (i >= format.size()) break;
    const char conversion = format[i++];
    if (conversion == 'D') return "/";  // %m/%d/%y
    if (conversion == 'F') return "-";  // %Y-%m-%d
    if (conversion == '%') {
      afterField = false;
      continue;
    }
    afterField = true;
  }
  return {};
}

NumberSeparators UserNumberSeparators() {
  const UserLocale loc;
  if (!loc.Loaded()) return {"", "."};  // what the C locale gives
  std::string decimal = loc.Item(RADIXCHAR);
  return {loc.Item(THOUSEP), decimal.empty() ? std::string(".") : std::move(decimal)};
}

std::string UserTimeText(const char* format, const std::tm& t) {
  const UserLocale loc;
  if (loc.Loaded()) return loc.Time(format, t);
  char buffer[256];
  return std::string(buffer, std::strftime(buffer, sizeof buffer, format, &t));  // the C locale
}

std::string UserDateSeparator() {
  const UserLocale loc;
  std::string separator;
  if (loc.Loaded()) separator = DateSeparatorOfFormat(loc.Item(D_FMT));
  return separator.empty() ? "/" : separator;
}

}  // namespace vorlo
