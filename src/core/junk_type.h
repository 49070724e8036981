// The junk type: where to search, which names to take and to spare, the
// date, age and size restrictions, and how matching files are removed.
// A plain value; the list file, the description and the restriction tests
// are implemented in their own files (junk_list_file, description,
// restrictions).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_list.h"

namespace vorlo {

class Clock;
class ByteReader;

// How matching files are removed. The list file may hold any number here:
// such a value is kept as it is, so that it is written back unchanged, and a
// clean-up run leaves the files alone.
enum class CleanupMethod : int32_t { cuRecycle = 0, cuHolding = 1, cuDelete = 2 };

// What a folder entry searches. Any other stored number is kept as it is
// (the list file writes it back unchanged) and acts as pFolAndSub.
enum class FolderRule : int32_t {
  pFolAndSub = 0,  // the folder's own files and all its subfolders
  pFolOnly = 1,    // the folder's own files only
  pSubOnly = 2,    // all subfolders, not the folder's own files
};

struct FolderEntry {
  std::string path;
  FolderRule rule = FolderRule::pFolAndSub;
  bool operator==(const FolderEntry&) const = default;
};

// One restriction: whether it is on, its comparison code (0 exactly,
// 1 before / older / less, 2 after / newer / greater, 3 between, 4 not
// between) and its two values, the second used by codes 3 and 4 only.
template <typename T>
struct Restriction {
  bool on = false;
  int32_t type = 0;
  T data1{};
  T data2{};
  bool operator==(const Restriction&) const = default;
};

// Day numbers, whole days.
using DateRestriction = Restriction<double>;
// Age indexes, 0 "1 day" to 6 "1 year".
using AgeRestriction = Restriction<int32_t>;
// Sizes counted in `unit`: 0 bytes, 1 KB, 2 MB.
struct SizeRestriction : Restriction<int32_t> {
  int32_t unit = 0;
  bool operator==(const SizeRestriction&) const = default;
};

using FolderList = std::vector<FolderEntry>;
using SpecList = TextList;

// Raised by the validating setters with their fixed message.
class JunkTypeError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// What the restriction tests read of a found file.
struct FileFacts {
  int64_t size = 0;
  int64_t mtimeUtc = 0;  // last write, seconds since 1970 UTC
};

class TJunkFileObj {
 public:
  // Empty type: checked, method 0, no entries, restrictions off.
  TJunkFileObj() = default;

  // Full constructor: dates are cut to whole days, and for "between" and
  // "not between" each pair is stored in ascending order.
  TJunkFileObj(std::string vName, bool vChecked, CleanupMethod vBacktype, const FolderList& vDirs,
               const SpecList& vDeletes, const SpecList& vProts, const DateRestriction& vDate,
               const AgeRestriction& vAge, const SizeRestriction& vSize);

  // Compact constructor of the default table: one entry per line; bit i of
  // `Onlies` gives folder entry i the rule "folder only".
  TJunkFileObj(std::string vName, bool vChecked, CleanupMethod vBacktype, std::string_view vDirs,
               std::string_view vDeletes, std::string_view vProts, uint32_t Onlies);

  const std::string& TypName() const { return fName; }
  void SetTypName(std::string v) { fName = std::move(v); }
  bool IsChecked() const { return fChecked; }
  void SetIsChecked(bool v) { fChecked = v; }
  CleanupMethod Backtype() const { return fBacktype; }
  // Both raise "Invalid backup type" for a value outside 0 to 2; the number
  // form is for values from outside (a command's code).
  void SetBackType(int32_t v);
  void SetBackType(CleanupMethod v) { SetBackType(static_cast<int32_t>(v)); }
  const FolderList& Dirs() const { return fDirs; }
  void SetDirs(const FolderList& v) { fDirs = v; }
  const SpecList& Deletes() const { return fDeletes; }
  void SetDeletes(const SpecList& v) { fDeletes = v; }
  const SpecList& Prots() const { return fProts; }
  void SetProts(const SpecList& v) { fProts = v; }

  bool DateRestrict() const { return fDate.on; }
  void SetDateRestrict(bool v) { fDate.on = v; }
  int32_t DateRestrictType() const { return fDate.type; }
  void SetDateRestrictType(int32_t v);
  double DateData1() const { return fDate.data1; }
  double DateData2() const { return fDate.data2; }

  bool AgeRestrict() const { return fAge.on; }
  void SetAgeRestrict(bool v) { fAge.on = v; }
  int32_t AgeRestrictType() const { return fAge.type; }
  void SetAgeRestrictType(int32_t v);
  int32_t AgeData1() const { return fAge.data1; }
  int32_t AgeData2() const { return fAge.data2; }

  bool SizeRestrict() const { return fSize.on; }
  void SetSizeRestrict(bool v) { fSize.on = v; }
  int32_t SizeRestrictType() const { return fSize.type; }
  void SetSizeRestrictType(int32_t v);
  int32_t SizeData1() const { return fSize.data1; }
  int32_t SizeData2() const { return fSize.data2; }
  int32_t SizeUnit() const { return fSize.unit; }
  void SetSizeUnit(int32_t v);

  // True when both types find and treat the same files (name and checked
  // state aside; specifications and folders compared without letter case).
  bool SameAs(const TJunkFileObj& TJ) const;

  // True when the folder list stands for all local drives.
  bool SearchesLocalDrives() const;

  // List file record (junk_list_file.cpp).
  void SaveToStream(std::string& out) const;
  void LoadFromStream(ByteReader& in);

  // Restrictions and protections (restrictions.cpp).
  bool MatchRestrict(const FileFacts& TD, const Clock& clock) const;
  bool MatchProts(std::string_view sD, std::string_view sN) const;

  bool operator==(const TJunkFileObj&) const = default;

 private:
  std::string fName;
  bool fChecked = true;
  CleanupMethod fBacktype = CleanupMethod::cuRecycle;
  FolderList fDirs;
  SpecList fDeletes;
  SpecList fProts;
  DateRestriction fDate;
  AgeRestriction fAge;
  SizeRestriction fSize;
};

// Start of the folder entry that stands for all local drives.
inline constexpr std::string_view kLocalDrivesPrefix = "Local drives (";

}  // namespace vorlo
