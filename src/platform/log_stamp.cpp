#include "platform/log_stamp.h"

#include <langinfo.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/codeset.h"

namespace vorlo {

namespace {

constexpr const char* kMonthFirstForm = "%A, %B %-d, %Y";
constexpr const char* kDayFirstForm = "%A, %-d %B %Y";

bool IsAscii(const std::string& s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Names of a locale in a legacy code set come in that code set; the logs
// are UTF-8. Unconvertible text is kept as it is.
std::string ToUtf8(const std::string& text, const char* codeset) {
  if (IsAscii(text) || codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0) return text;
  return ConvertToUtf8(text, codeset).value_or(text);
}

std::shared_ptr<std::remove_pointer_t<locale_t>> Adopt(locale_t loc) {
  if (loc == static_cast<locale_t>(nullptr)) return nullptr;
  return {loc, [](locale_t l) { freelocale(l); }};
}

DateOrder OrderOfLocale(locale_t loc) {
  const char* format = nl_langinfo_l(D_FMT, loc);
  return DateOrderOfFormat(format == nullptr ? "" : format);
}

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

DateOrder DateOrderOfFormat(std::string_view format) {
  size_t i = 0;
  while (i < format.size()) {
    if (format[i++] != '%') continue;
    while (i < format.size() && std::strchr("-_0^#", format[i]) != nullptr) ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (i >= format.size()) break;
    switch (format[i++]) {
      case 'd':
      case 'e':
        return DateOrder::DayFirst;
      case 'm':
      case 'b':
      case 'B':
      case 'h':
      case 'D':  // %m/%d/%y
      case 'F':  // %Y-%m-%d
        return DateOrder::MonthFirst;
      default:
        break;
    }
  }
  return DateOrder::MonthFirst;
}

LongDateForm LongDateForm::User() {
  Handle loc = Adopt(newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr)));
  if (!loc) loc = Adopt(newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr)));
  const DateOrder order = loc ? OrderOfLocale(loc.get()) : DateOrder::MonthFirst;
  return LongDateForm(std::move(loc), order);
}

std::optional<LongDateForm> LongDateForm::Named(const std::string& name) {
  Handle loc = Adopt(newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr)));
  if (!loc) return std::nullopt;
  const DateOrder order = OrderOfLocale(loc.get());
  return LongDateForm(std::move(loc), order);
}

std::string LongDateForm::Text(const LocalDateTime& t, DateOrder order) const {
  using namespace std::chrono;
  const year_month_day date{year(t.year), month(static_cast<unsigned>(t.month)), day(static_cast<unsigned>(t.day))};
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_wday = date.ok() ? static_cast<int>(weekday(sys_days(date)).c_encoding()) : 0;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  const char* format = order == DateOrder::DayFirst ? kDayFirstForm : kMonthFirstForm;
  // Weekday and month names are short; the buffer grows for a locale that disagrees.
  for (size_t size = 128; size <= 4096; size *= 2) {
    std::vector<char> buf(size);
    const size_t n = locale_ ? strftime_l(buf.data(), size, format, &tm, locale_.get())
                             : std::strftime(buf.data(), size, format, &tm);
    if (n > 0) {
      const std::string text(buf.data(), n);
      return locale_ ? ToUtf8(text, nl_langinfo_l(_NL_TIME_CODESET, locale_.get())) : text;
    }
  }
  return {};
}

std::string TimeStampText(const LocalDateTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  return TwoDigits(hour12) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) + (t.hour < 12 ? " am" : " pm");
}

std::string DateTimeStampText(const LocalDateTime& t, const LongDateForm& form) {
  return form.Text(t) + "  " + TimeStampText(t);
}

std::string UserDateTimeStamp(const LocalDateTime& t) { return DateTimeStampText(t, LongDateForm::User()); }

}  // namespace vorlo
