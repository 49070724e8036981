// Day numbers: days counted from 30 December 1899 (day 0); the whole part is
// the date, the fraction the time of day. Junk types keep whole days.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vorlo {

struct CivilDate {
  int year, month, day;
  bool operator==(const CivilDate&) const = default;
};

// Days from 1970-01-01 of a proleptic Gregorian year, month and day.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d);

int64_t DayNumber(CivilDate d);
CivilDate DateOfDay(int64_t dayNumber);
double DayNumber(const LocalDateTime& t);  // with the time of day as fraction

// Going back from a day. A day the target month lacks becomes that month's
// last day (31 March less one month is 28 or 29 February).
int64_t SubDay(int64_t day, int n);
int64_t SubMonth(int64_t day, int n);  // 0 <= n <= 12
int64_t SubYear(int64_t day);

}  // namespace vorlo
