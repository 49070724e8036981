#include "platform/log_stamp.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlo {
namespace {

LocalDateTime At(int year, int month, int day, int hour, int minute, int second) {
  LocalDateTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

TEST(LogStamp, TimeOnTwelveHourClock) {
  EXPECT_EQ(TimeStampText(At(2024, 1, 6, 0, 0, 0)), "12:00:00 am");
  EXPECT_EQ(TimeStampText(At(2024, 1, 6, 12, 0, 0)), "12:00:00 pm");
  EXPECT_EQ(TimeStampText(At(2024, 1, 6, 13, 5, 9)), "01:05:09 pm");
  EXPECT_EQ(TimeStampText(At(2024, 1, 6, 11, 59, 59)), "11:59:59 am");
  EXPECT_EQ(TimeStampText(At(2024, 1, 6, 23, 0, 7)), "11:00:07 pm");
}

TEST(LogStamp, DateTimeStampInTheCLocale) {
  const auto c = LongDateForm::Named("C");
  ASSERT_TRUE(c.has_value());
  EXPECT_EQ(c->order(), DateOrder::MonthFirst);
  EXPECT_EQ(DateTimeStampText(At(2024, 1, 6, 12, 0, 0), *c), "Saturday, January 6, 2024  12:00:00 pm");
  EXPECT_EQ(DateTimeStampText(At(2000, 2, 29, 0, 0, 0), *c), "Tuesday, February 29, 2000  12:00:00 am");
  EXPECT_EQ(c->Text(At(2024, 12, 25, 13, 0, 0), DateOrder::DayFirst), "Wednesday, 25 December 2024");
}

TEST(LogStamp, DayFirstLocale) {
  const auto gb = LongDateForm::Named("en_GB.UTF-8");
  if (!gb) GTEST_SKIP() << "en_GB.UTF-8 is not installed";
  EXPECT_EQ(gb->order(), DateOrder::DayFirst);
  EXPECT_EQ(DateTimeStampText(At(2024, 3, 5, 13, 0, 0), *gb), "Tuesday, 5 March 2024  01:00:00 pm");
}

TEST(LogStamp, NamedLocaleThatIsMissing) { EXPECT_FALSE(LongDateForm::Named("xx_NOWHERE.UTF-8").has_value()); }

TEST(LogStamp, OrderOfShortDateFormats) {
  struct Case {
    const char* format;
    DateOrder order;
  };
  for (const Case& c : {Case{"%m/%d/%y", DateOrder::MonthFirst}, Case{"%d.%m.%Y", DateOrder::DayFirst},
                        Case{"%d/%m/%y", DateOrder::DayFirst}, Case{"%Y-%m-%d", DateOrder::MonthFirst},
                        Case{"%F", DateOrder::MonthFirst}, Case{"%D", DateOrder::MonthFirst},
                        Case{"%-e.%-m.%Y", DateOrder::DayFirst}, Case{"%Od/%Om/%Y", DateOrder::DayFirst},
                        Case{"%%d %m %d", DateOrder::MonthFirst}, Case{"", DateOrder::MonthFirst}})
    EXPECT_EQ(DateOrderOfFormat(c.format), c.order) << c.format;
}

TEST(LogStamp, UserStampEndsWithTheTime) {
  const std::string stamp = UserDateTimeStamp(At(2024, 1, 6, 9, 8, 7));
  EXPECT_TRUE(stamp.ends_with("2024  09:08:07 am")) << stamp;
}

}  // namespace
}  // namespace vorlo
