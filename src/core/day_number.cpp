#include "core/day_number.h"

namespace vorlo {

namespace {

CivilDate CivilFromDays(int64_t z);

}  // namespace

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

namespace {

CivilDate CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr int64_t kDay0FromUnix = -25569;  // 1899-12-30 counted from 1970-01-01

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

int64_t ClampedDay(int y, int m, int d) {
  const int last = DaysInMonth(y, m);
  return DayNumber(CivilDate{y, m, d > last ? last : d});
}

}  // namespace

int64_t DayNumber(CivilDate d) {
  return DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day)) - kDay0FromUnix;
}

CivilDate DateOfDay(int64_t dayNumber) { return CivilFromDays(dayNumber + kDay0FromUnix); }

double DayNumber(const LocalDateTime& t) {
  const double timeOfDay = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
  const auto day = static_cast<double>(DayNumber(CivilDate{t.year, t.month, t.day}));
  // Before day 0 the fraction counts away from zero, as the stored format does.
  return day >= 0 ? day + timeOfDay : day - timeOfDay;
}

int64_t SubDay(int64_t day, int n) { return day - n; }

int64_t SubMonth(int64_t day, int n) {
  const CivilDate d = DateOfDay(day);
  if (d.month > n) return ClampedDay(d.year, d.month - n, d.day);
  return ClampedDay(d.year - 1, d.month + 12 - n, d.day);
}

int64_t SubYear(int64_t day) {
  const CivilDate d = DateOfDay(day);
  return ClampedDay(d.year - 1, d.month, d.day);
}

}  // namespace vorlo
