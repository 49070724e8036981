#include "core/version_info.h"

#include <gtest/gtest.h>

#include <regex>

#include "core/text.h"

namespace vorlo {
namespace {

TEST(VersionInfo, VersionLineForms) {
  EXPECT_EQ(VersionLine("Vorlo", "3.1.0.7", true), "Vorlo - beta version 3.1.0.7");
  EXPECT_EQ(VersionLine("Vorlo", "0.0.0.0", false), "Vorlo - version 0.0.0.0");
  EXPECT_EQ(VersionLine("Vorlo", "", true), "Vorlo beta");
  EXPECT_EQ(VersionLine("Vorlo", "", false), "Vorlo");
  EXPECT_EQ(FileVersionText(3, 1, 0, 7), "3.1.0.7");
  EXPECT_EQ(FileVersionText(65535, 0, 10, 0), "65535.0.10.0");
}

std::string IsoDate(const CivilTime& t) { return FormatText("%04d-%02d-%02d", t.year, t.month, t.day); }
std::string IsoTime(const CivilTime& t) { return FormatText("%02d:%02d:%02d", t.hour, t.minute, t.second); }

TEST(VersionInfo, BuildLine) {
  EXPECT_EQ(BuildLine(951782400, IsoDate, IsoTime), "Built on 2000-02-29 UTC");  // exactly midnight
  EXPECT_EQ(BuildLine(951782401, IsoDate, IsoTime), "Built on 2000-02-29 00:00:01 UTC");
  EXPECT_EQ(BuildLine(0, IsoDate, IsoTime), "Built on 1970-01-01 UTC");  // unreadable stamp
  EXPECT_EQ(BuildLine(0x2A425E19, IsoDate, IsoTime), "Built on 1992-06-19 22:22:17 UTC");
  EXPECT_EQ(BuildLine(4102444799, IsoDate, IsoTime), "Built on 2099-12-31 23:59:59 UTC");
}

TEST(VersionInfo, CompiledInValues) {
  const BuildInfo info = CompiledBuildInfo();
  EXPECT_TRUE(std::regex_match(info.VerStr, std::regex(R"(\d+\.\d+\.\d+\.\d+)"))) << info.VerStr;
  EXPECT_GT(info.buildTime, 1600000000);  // after September 2020
}

}  // namespace
}  // namespace vorlo
