// The user's regional separators: thousands and decimal separators for
// numbers, and the separator of the short date format. Read once at start-up
// and passed down; the core never asks the system for them itself.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace vorlo {

struct NumberSeparators {
  std::string thousands = ",";
  std::string decimal = ".";
};

// Separators of the user's locale (LC_NUMERIC). An empty thousands separator
// (as in the C locale) is kept; an empty decimal separator becomes ".".
NumberSeparators UserNumberSeparators();

// Separator of the user's short date format (LC_TIME), "/" when the locale
// gives none or cannot be loaded.
std::string UserDateSeparator();

// A time written with a strftime format ("%x", "%X") in the user's LC_TIME
// locale, as UTF-8: for texts shown where no toolkit formats dates.
std::string UserTimeText(const char* format, const std::tm& t);

// The first separator character between the fields of a strftime date
// format ("%d.%m.%Y" gives "."); empty when there is none.
std::string DateSeparatorOfFormat(std::string_view format);

}  // namespace vorlo
