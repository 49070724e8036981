// The program's version and build time as the about box shows them: the
// values compiled in from the build, the version line and the build line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vorlo {

// The application title the version line starts with.
inline constexpr std::string_view AppTitle = "Vorlo";

struct BuildInfo {
  std::string VerStr;     // "major.minor.release.build"; empty when unknown
  bool PreRel = false;    // a pre-release build
  int64_t buildTime = 0;  // seconds since 1970, UTC
};

// The values of this build (project version, VORLO_PRERELEASE, build time).
BuildInfo CompiledBuildInfo();

// The four parts joined with ".", each in decimal without leading zeros.
std::string FileVersionText(uint16_t major, uint16_t minor, uint16_t release, uint16_t build);

// "<title> - version <v>", "<title> - beta version <v>", "<title> beta" or
// "<title>", by whether a version is known and whether it is a pre-release.
std::string VersionLine(std::string_view title, std::string_view VerStr, bool PreRel);

// A calendar date and time of day, taken as stored (no time zone).
struct CivilTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
};
CivilTime CivilTimeOfSeconds(int64_t secondsSince1970);

// Formats a date or a time the way the user's locale does.
using CivilFormatter = std::function<std::string(const CivilTime&)>;

// "Built on " + short date [+ " " + long time] + " UTC"; the time is left
// out when the stamp is exactly midnight.
std::string BuildLine(int64_t secondsSince1970, const CivilFormatter& shortDate, const CivilFormatter& longTime);

}  // namespace vorlo
