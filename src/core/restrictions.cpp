// The date, age and size restrictions and the protect specifications of a
// junk type, asked by the scan for every file a delete specification found.
#include <cmath>
#include <optional>

#include "core/day_number.h"
#include "core/junk_type.h"
#include "core/text.h"
#include "core/wildcard.h"
#include "platform/clock.h"

namespace vorlo {

namespace {

// Local calendar day of a UTC instant; nothing when it cannot be converted.
std::optional<int64_t> LocalDay(int64_t utcSeconds, const Clock& clock) {
  const auto local = clock.ToLocal(utcSeconds);
  if (!local) return std::nullopt;
  return DayNumber(CivilDate{local->year, local->month, local->day});
}

// The comparison table shared by the date, age and size tests: `first` is
// the limit of codes 1 and 2, code 3 includes `low` and excludes `high`, and
// code 4 is its opposite. Any other code never matches.
template <typename T>
bool Compares(int32_t code, T v, bool same, T first, T low, T high) {
  switch (code) {
    case 0: return same;
    case 1: return v < first;
    case 2: return v >= first;
    case 3: return low <= v && v < high;
    case 4: return v < low || v >= high;
    default: return false;
  }
}

bool DateMatches(int32_t code, double d, double d1, double d2) {
  return Compares(code, d, std::fabs(d - d1) < 0.01, d1, d1, d2);
}

// t1 is the newer limit, t2 the older one (the indexes are kept ascending).
bool AgeMatches(int32_t code, int64_t d, int64_t t1, int64_t t2) { return Compares(code, d, d == t1, t1, t2, t1); }

bool SizeMatches(int32_t code, int64_t s, int64_t l1, int64_t l2) { return Compares(code, s, s == l1, l1, l1, l2); }

// The day an age index reaches back to from today.
int64_t AgeLimit(int64_t today, int32_t index) {
  switch (index) {
    case 0: return SubDay(today, 1);
    case 1: return SubDay(today, 3);
    case 2: return SubDay(today, 7);
    case 3: return SubMonth(today, 1);
    case 4: return SubMonth(today, 3);
    case 5: return SubMonth(today, 6);
    case 6: return SubYear(today);
    default: return today;
  }
}

std::optional<int64_t> SizeFactor(int32_t unit) {
  switch (unit) {
    case 0: return 1;
    case 1: return 1024;
    case 2: return 1048576;
    default: return std::nullopt;
  }
}

}  // namespace

bool TJunkFileObj::MatchRestrict(const FileFacts& TD, const Clock& clock) const {
  if (fDate.on) {
    const auto d = LocalDay(TD.mtimeUtc, clock);
    if (d && !DateMatches(fDate.type, static_cast<double>(*d), fDate.data1, fDate.data2)) return false;
  }
  if (fAge.on) {
    const auto d = LocalDay(TD.mtimeUtc, clock);
    const auto today = LocalDay(clock.NowUtc(), clock);
    if (d && today && !AgeMatches(fAge.type, *d, AgeLimit(*today, fAge.data1), AgeLimit(*today, fAge.data2)))
      return false;
  }
  if (fSize.on) {
    // A unit outside the table gives no limit to compare with: nothing passes.
    const auto factor = SizeFactor(fSize.unit);
    if (!factor || !SizeMatches(fSize.type, TD.size, fSize.data1 * *factor, fSize.data2 * *factor)) return false;
  }
  return true;
}

bool TJunkFileObj::MatchProts(std::string_view sD, std::string_view sN) const {
  // A file's short name is its name here, so one test per pattern suffices.
  for (const std::string_view P : fProts) {
    if (StartsWith(P, "/")) {
      // A full path protects exactly that file; "/" as folder gets no second slash.
      const bool slash = !EndsWith(sD, "/");
      if (P.size() == sD.size() + (slash ? 1 : 0) + sN.size() && StartsWith(P, sD) &&
          (!slash || P[sD.size()] == '/') && EndsWith(P, sN))
        return true;
    } else if (MyPathMatchSpec(sN, P)) {
      return true;
    }
  }
  return false;
}

}  // namespace vorlo
