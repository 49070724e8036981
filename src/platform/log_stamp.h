// The date-time and time stamps of the run logs: the user locale's long date,
// two blanks and "hh:mm:ss am/pm". The locale is a value passed in, so the
// texts can be produced for a fixed locale and date.
#pragma once

#include <locale.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/clock.h"

namespace vorlo {

// Whether a locale writes the day or the month first.
enum class DateOrder { MonthFirst, DayFirst };

// The order of a strftime short date format (the locale's D_FMT): day
// first when a day field comes before every month field.
DateOrder DateOrderOfFormat(std::string_view shortDateFormat);

// The long date form of one locale's LC_TIME: weekday, day, month name and
// year, ordered like the locale's short date.
class LongDateForm {
 public:
  // The user's locale; the C locale when it cannot be loaded.
  static LongDateForm User();
  // A locale by name; nothing when it is not installed.
  static std::optional<LongDateForm> Named(const std::string& name);

  DateOrder order() const { return order_; }
  // "Saturday, January 6, 2024" (month first) or "Saturday, 6 January 2024".
  std::string Text(const LocalDateTime& t) const { return Text(t, order_); }
  std::string Text(const LocalDateTime& t, DateOrder order) const;

 private:
  using Handle = std::shared_ptr<std::remove_pointer_t<locale_t>>;
  LongDateForm(Handle locale, DateOrder order) : locale_(std::move(locale)), order_(order) {}
  Handle locale_;
  DateOrder order_;
};

// "hh:mm:ss am/pm" on a 12-hour clock: noon is "12:00:00 pm".
std::string TimeStampText(const LocalDateTime& t);

// Long date + two blanks + the time stamp.
std::string DateTimeStampText(const LocalDateTime& t, const LongDateForm& form);

// The date-time stamp in the user's locale.
std::string UserDateTimeStamp(const LocalDateTime& t);

}  // namespace vorlo
