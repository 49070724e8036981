// The current time and the conversion of file times to local time, behind an
// interface so that tests can fix "now" and the time zone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorlo {

struct LocalDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// "YYYY-MM-DDThh:mm:ss" (ISO 8601, no zone).
std::string IsoDateTime(const LocalDateTime& t);

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 00:00 UTC.
  virtual int64_t NowUtc() const = 0;
  // Local civil time of a UTC instant with the current time zone rules;
  // nothing when the conversion fails.
  virtual std::optional<LocalDateTime> ToLocal(int64_t utcSeconds) const = 0;
};

// The machine's clock and time zone (clock_gettime, localtime_r).
class SystemClock final : public Clock {
 public:
  int64_t NowUtc() const override;
  std::optional<LocalDateTime> ToLocal(int64_t utcSeconds) const override;
};

}  // namespace vorlo
