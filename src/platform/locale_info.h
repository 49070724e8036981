// The user's regional separators: thousands and decimal separators for
// numbers, and the separator of the short date format. Read once at start-up
// and passed down; the core never asks the system for them itself.
#pragma once

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

// The first separator character between the fields of a strftime date
// format ("%d.%m.%Y" gives "."); empty when there is none.
std::string DateSeparatorOfFormat(std::string_view format);

}  // namespace vorlo
