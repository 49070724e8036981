#include "core/version_info.h"

#include "core/build_info.h"
#include "core/text.h"

namespace vorlo {
namespace {

constexpr const char* BetaVersionFormat = "%s - beta version %s";
constexpr const char* VersionFormat = "%s - version %s";
constexpr std::string_view BetaSuffix = " beta";
constexpr std::string_view BuiltOn = "Built on ";
constexpr std::string_view UtcSuffix = " UTC";

}  // namespace

BuildInfo CompiledBuildInfo() {
  BuildInfo info;
  info.VerStr = FileVersionText(VORLO_VERSION_MAJOR, VORLO_VERSION_MINOR, VORLO_VERSION_RELEASE, VORLO_VERSION_BUILD);
  info.PreRel = VORLO_PRERELEASE_BUILD != 0;
  info.buildTime = VORLO_BUILD_TIME;
  return info;
}

std::string FileVersionText(uint16_t major, uint16_t minor, uint16_t release, uint16_t build) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
         std::to_string(build);
}

std::string VersionLine(std::string_view title, std::string_view VerStr, bool PreRel) {
  const std::string t(title), v(VerStr);
  if (!VerStr.empty()) return FormatText(PreRel ? BetaVersionFormat : VersionFormat, t.c_str(), v.c_str());
  return PreRel ? t + std::string(BetaSuffix) : t;
}

CivilTime CivilTimeOfSeconds(int64_t secondsSince1970) {
  int64_t days = secondsSince1970 / 86400, rest = secondsSince1970 % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days to a proleptic Gregorian date (Howard Hinnant's civil_from_days).
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  CivilTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

std::string BuildLine(int64_t secondsSince1970, const CivilFormatter& shortDate, const CivilFormatter& longTime) {
  const CivilTime t = CivilTimeOfSeconds(secondsSince1970);
  std::string line(BuiltOn);
  line += shortDate(t);
  if (t.hour != 0 || t.minute != 0 || t.second != 0) line += " " + longTime(t);
  line += UtcSuffix;
  return line;
}

}  // namespace vorlo
