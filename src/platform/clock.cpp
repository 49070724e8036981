#include "platform/clock.h"

#include <cstdio>
#include <ctime>

namespace vorlo {

std::string IsoDateTime(const LocalDateTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

int64_t SystemClock::NowUtc() const {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec;
}

std::optional<LocalDateTime> SystemClock::ToLocal(int64_t utcSeconds) const {
  const time_t t = static_cast<time_t>(utcSeconds);
  tm local{};
  if (localtime_r(&t, &local) == nullptr) return std::nullopt;
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace vorlo
