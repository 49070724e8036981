#include <gtest/gtest.h>

#include <optional>

#include "core/day_number.h"
#include "core/junk_type.h"
#include "platform/clock.h"

namespace vorlo {
namespace {

using enum CleanupMethod;

constexpr int64_t kUnixDay0 = 25569;  // day number of 1970-01-01

// A clock with a fixed "now" and a fixed offset from UTC; one instant can be
// made unconvertible.
class FakeClock final : public Clock {
 public:
  FakeClock(CivilDate today, int offsetHours) : offset_(offsetHours * 3600) { now_ = Utc(today, 12); }

  int64_t NowUtc() const override { return now_; }
  std::optional<LocalDateTime> ToLocal(int64_t utc) const override {
    if (failAt_ && utc == *failAt_) return std::nullopt;
    const int64_t local = utc + offset_;
    const int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const int64_t secs = local - days * 86400;
    const CivilDate d = DateOfDay(days + kUnixDay0);
    return LocalDateTime{d.year, d.month, d.day, int(secs / 3600), int(secs / 60 % 60), int(secs % 60)};
  }

  // UTC instant of a local time on this clock.
  int64_t Utc(CivilDate d, int hour, int minute = 0, int second = 0) const {
    return (DayNumber(d) - kUnixDay0) * 86400 + hour * 3600 + minute * 60 + second - offset_;
  }
  void FailAt(int64_t utc) { failAt_ = utc; }

 private:
  int64_t offset_;
  int64_t now_ = 0;
  std::optional<int64_t> failAt_;
};

double Day(CivilDate d) { return static_cast<double>(DayNumber(d)); }

TJunkFileObj DateType(int32_t code, CivilDate d1, CivilDate d2) {
  return TJunkFileObj("", true, cuRecycle, {}, {}, {}, DateRestriction{true, code, Day(d1), Day(d2)}, {}, {});
}

TJunkFileObj AgeType(int32_t code, int32_t a1, int32_t a2) {
  return TJunkFileObj("", true, cuRecycle, {}, {}, {}, {}, AgeRestriction{true, code, a1, a2}, {});
}

TJunkFileObj SizeType(int32_t code, int32_t s1, int32_t s2, int32_t unit) {
  return TJunkFileObj("", true, cuRecycle, {}, {}, {}, {}, {}, SizeRestriction{{true, code, s1, s2}, unit});
}

TEST(Restrictions, DateTests) {
  const FakeClock clock({2024, 6, 1}, 2);
  const struct {
    int32_t code;
    CivilDate d1, d2;
    CivilDate file;
    int hour, minute, second;
    bool passes;
  } cases[] = {
      {2, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 5}, 0, 0, 1, true},  // "after" includes the day
      {2, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 4}, 23, 59, 0, false},
      {1, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 4}, 23, 59, 0, true},  // "before" excludes it
      {1, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 5}, 0, 0, 0, false},
      {0, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 5}, 23, 59, 59, true},
      {0, {2024, 5, 5}, {2024, 5, 5}, {2024, 5, 6}, 0, 0, 0, false},
      {3, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 1}, 8, 0, 0, true},
      {3, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 9}, 23, 0, 0, true},
      {3, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 10}, 0, 0, 0, false},
      {4, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 10}, 0, 0, 0, true},
      {4, {2024, 5, 1}, {2024, 5, 10}, {2024, 4, 30}, 0, 0, 0, true},
      {4, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 5}, 0, 0, 0, false},
      {5, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 5}, 0, 0, 0, false},  // unknown code never matches
      {-1, {2024, 5, 1}, {2024, 5, 10}, {2024, 5, 5}, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    const FileFacts f{10, clock.Utc(c.file, c.hour, c.minute, c.second)};
    EXPECT_EQ(DateType(c.code, c.d1, c.d2).MatchRestrict(f, clock), c.passes)
        << "code " << c.code << " file day " << c.file.day;
  }
}

TEST(Restrictions, FileDateIsTheLocalDate) {
  // 4 May 20:00 UTC is 5 May in UTC+10 and still 4 May in UTC-5.
  const int64_t utc = FakeClock({2024, 6, 1}, 0).Utc({2024, 5, 4}, 20);
  const TJunkFileObj after5May = DateType(2, {2024, 5, 5}, {2024, 5, 5});
  EXPECT_TRUE(after5May.MatchRestrict({0, utc}, FakeClock({2024, 6, 1}, 10)));
  EXPECT_FALSE(after5May.MatchRestrict({0, utc}, FakeClock({2024, 6, 1}, -5)));
}

TEST(Restrictions, AgeTests) {
  const CivilDate today{2024, 3, 15};
  const struct {
    int32_t code, a1, a2;
    CivilDate file;
    bool passes;
  } cases[] = {
      {1, 2, 2, {2024, 3, 7}, true},                                   // older than 1 week
      {1, 2, 2, {2024, 3, 8}, false},  {2, 2, 2, {2024, 3, 8}, true},  // newer than 1 week: a week ago is
                                                                       // newer
      {2, 0, 0, {2024, 3, 15}, true},  {0, 1, 1, {2024, 3, 12}, true},  {0, 1, 1, {2024, 3, 11}, false},
      {1, 3, 3, {2024, 2, 14}, true},  // older than 1 month: limit 15 February
      {1, 3, 3, {2024, 2, 15}, false}, {1, 6, 6, {2023, 3, 14}, true},  {1, 6, 6, {2023, 3, 15}, false},
      {3, 2, 3, {2024, 2, 15}, true},  // between 1 week and 1 month
      {3, 2, 3, {2024, 3, 7}, true},   {3, 2, 3, {2024, 2, 14}, false}, {3, 2, 3, {2024, 3, 8}, false},
      {4, 2, 3, {2024, 3, 8}, true},   {4, 2, 3, {2024, 2, 14}, true},  {4, 2, 3, {2024, 3, 1}, false},
      {2, 9, 9, {2024, 3, 15}, true},  // an unknown index means today
      {2, 9, 9, {2024, 3, 14}, false}, {7, 2, 2, {2024, 3, 1}, false},
  };
  const FakeClock clock(today, 1);
  for (const auto& c : cases) {
    const FileFacts f{0, clock.Utc(c.file, 10)};
    EXPECT_EQ(AgeType(c.code, c.a1, c.a2).MatchRestrict(f, clock), c.passes)
        << "code " << c.code << " ages " << c.a1 << "," << c.a2 << " file " << c.file.month << "/"
        << c.file.day;
  }

  // Going back a month from January ends in December of the year before.
  const FakeClock january({2024, 1, 15}, 0);
  const TJunkFileObj olderThanMonth = AgeType(1, 3, 3);
  EXPECT_TRUE(olderThanMonth.MatchRestrict({0, january.Utc({2023, 12, 14}, 10)}, january));
  EXPECT_FALSE(olderThanMonth.MatchRestrict({0, january.Utc({2023, 12, 15}, 10)}, january));
}

TEST(Restrictions, SizeTests) {
  const FakeClock clock({2024, 6, 1}, 0);
  const struct {
    int32_t code, s1, s2, unit;
    int64_t size;
    bool passes;
  } cases[] = {
      {2, 100, 0, 1, 102400, true},  // greater than 100 KB includes 100 KB
      {2, 100, 0, 1, 102399, false},
      {0, 0, 0, 0, 0, true},
      {0, 0, 0, 0, 1, false},
      {1, 10, 0, 0, 9, true},
      {1, 10, 0, 0, 10, false},
      {3, 1, 2, 2, 1048576, true},
      {3, 1, 2, 2, 2097152, false},
      {4, 1, 2, 2, 2097152, true},
      {4, 1, 2, 2, 1048575, true},
      {4, 1, 2, 2, 1048576, false},
      {0, 4096, 0, 2, 4294967296, true},  // 4 GB: needs 64 bits
      {2, 3000, 0, 2, 3145728000, true},
      {2, 3000, 0, 2, 3145727999, false},
      {2, 0, 0, 3, 100, false},  // unknown unit: no limit, nothing passes
      {8, 0, 0, 0, 100, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SizeType(c.code, c.s1, c.s2, c.unit).MatchRestrict({c.size, 0}, clock), c.passes)
        << "code " << c.code << " size " << c.size;
}

TEST(Restrictions, AllOffOrUnknownFileDatePasses) {
  FakeClock clock({2024, 6, 1}, 0);
  const int64_t utc = clock.Utc({2020, 1, 1}, 0);
  EXPECT_TRUE(TJunkFileObj().MatchRestrict({123, utc}, clock));

  clock.FailAt(utc);
  EXPECT_TRUE(DateType(2, {2024, 5, 5}, {2024, 5, 5}).MatchRestrict({0, utc}, clock));
  EXPECT_TRUE(AgeType(2, 0, 0).MatchRestrict({0, utc}, clock));
  // The size test still applies.
  EXPECT_FALSE(SizeType(2, 1, 0, 0).MatchRestrict({0, utc}, clock));
}

TEST(Restrictions, Protections) {
  const TJunkFileObj t("", true, cuRecycle, "", "", "/swapfile\r\n*.txt\r\n\r\n/home/u/Keep.me\r\nREADME", 0);
  const struct {
    const char* dir;
    const char* name;
    bool protectedFile;
  } cases[] = {
      {"/", "swapfile", true},                                     // the root folder gets no second slash
      {"/home", "swapfile", false},     {"/", "SWAPFILE", false},  // paths compare exactly
      {"/home/u", "Keep.me", true},     {"/home/u", "keep.me", false}, {"/home/u/x", "notes.TXT", true},
      {"/srv", "notes.txt.bak", false}, {"/srv", "README", false},  // a dotless pattern protects nothing
      {"/srv", "bad\xFF.txt", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(t.MatchProts(c.dir, c.name), c.protectedFile) << c.dir << " " << c.name;

  EXPECT_FALSE(TJunkFileObj().MatchProts("/tmp", "x.txt"));
}

TEST(DayNumber, GoingBackClampsToTheTargetMonth) {
  const struct {
    CivilDate from;
    int months;  // 0: one year
    CivilDate to;
  } cases[] = {
      {{2024, 3, 31}, 1, {2024, 2, 29}},  {{2023, 3, 31}, 1, {2023, 2, 28}},
      {{2024, 1, 15}, 1, {2023, 12, 15}}, {{2024, 8, 31}, 6, {2024, 2, 29}},
      {{2024, 5, 31}, 3, {2024, 2, 29}},  {{2024, 7, 31}, 1, {2024, 6, 30}},
      {{2024, 3, 15}, 3, {2023, 12, 15}}, {{2024, 2, 29}, 0, {2023, 2, 28}},
      {{2024, 3, 15}, 0, {2023, 3, 15}},
  };
  for (const auto& c : cases) {
    const int64_t day = DayNumber(c.from);
    const int64_t back = c.months == 0 ? SubYear(day) : SubMonth(day, c.months);
    EXPECT_EQ(DateOfDay(back), c.to) << c.from.year << "-" << c.from.month << "-" << c.from.day << " -"
                                     << c.months;
  }
  EXPECT_EQ(SubDay(DayNumber(CivilDate{2024, 3, 1}), 1), DayNumber(CivilDate{2024, 2, 29}));
}

}  // namespace
}  // namespace vorlo
