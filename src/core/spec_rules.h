// The rules the file specification editors apply as the person types: the
// status text of a specification, whether OK may be pressed, what a full
// path is, how a protect pattern is stored, and whether the restriction
// controls describe a complete restriction. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlo {

inline constexpr std::string_view kStatNoName = "Must enter filename";
inline constexpr std::string_view kStatNoExt = "Note: Only matches files with no extension";
inline constexpr std::string_view kStatLongExt = "Note: Extension longer than 3 letters";
inline constexpr std::string_view kStatAllFiles = "Warning: Matches all files!";
inline constexpr std::string_view kStatStarBoth = "Warning: * in both name and extension";
inline constexpr std::string_view kStatExact = "Note: Matches exact filename only";
inline constexpr std::string_view kStatNotFull = "Enter full path";
inline constexpr std::string_view kStatExists = "File exists";
inline constexpr std::string_view kStatMissing = "File does not exist";

// The status text of a file specification (empty when there is nothing to
// say). File names need no extension, and a period that begins the text
// belongs to a dot-file's name.
std::string_view SpecStatus(std::string_view text);
// Whether the specification names a file at all (not empty, not periods
// alone).
bool SpecOk(std::string_view text);

// A full path on this system begins with "/".
bool IsFullPath(std::string_view text);
// The status text of a protect editor's full name, given whether a file of
// that name is there.
std::string_view FullNameStatus(std::string_view text, bool fileThere);

// Protect patterns meet every dotless name with a period added, so a
// dotless pattern gets one too: "core" then protects the file core, and
// "*~" the names a delete specification "*~" takes.
std::string StoredProtectPattern(std::string pattern);

// The restriction controls as set: date or age (or neither) with its
// comparison and values, size with its comparison, unit and typed numbers.
struct RestrictionChoice {
  bool dateOn = false;  // the date/age box is ticked
  bool byDate = false, byAge = false;
  int dateType = -1;  // comparison; -1 none chosen
  double date1 = 0, date2 = 0;
  int age1 = -1, age2 = -1;
  bool sizeOn = false;
  int sizeType = -1, sizeUnit = -1;
  std::string size1, size2;  // as typed
};
// Whether every restriction that is on is complete and consistent: a
// comparison chosen, its values given, and a range's two ends different.
bool RestrictionsComplete(const RestrictionChoice& c);
// A typed size: decimal digits within 32 bits; nothing otherwise.
std::optional<int32_t> SizeNumber(std::string_view text);

}  // namespace vorlo
