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

namespace vorlo {

class Clock;
class ByteReader;

// Clean-up methods.
inline constexpr int32_t cuRecycle = 0;
inline constexpr int32_t cuHolding = 1;
inline constexpr int32_t cuDelete = 2;

// Subfolder rules of a folder entry; any other value acts as 0.
inline constexpr int32_t pFolAndSub = 0;
inline constexpr int32_t pFolOnly = 1;
inline constexpr int32_t pSubOnly = 2;

struct FolderEntry {
  std::string path;
  int32_t rule = pFolAndSub;
  bool operator==(const FolderEntry&) const = default;
};

using FolderList = std::vector<FolderEntry>;
using SpecList = std::vector<std::string>;

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
  TJunkFileObj(std::string vName, bool vChecked, int32_t vBacktype, const FolderList& vDirs,
               const SpecList& vDeletes, const SpecList& vProts, bool vDateRestrict,
               int32_t vDateRestrictType, double vDateData1, double vDateData2, bool vAgeRestrict,
               int32_t vAgeRestrictType, int32_t vAgeData1, int32_t vAgeData2, bool vSizeRestrict,
               int32_t vSizeRestrictType, int32_t vSizeData1, int32_t vSizeData2, int32_t vSizeUnit);

  // Compact constructor of the default table: one entry per line; bit i of
  // `Onlies` gives folder entry i the rule "folder only".
  TJunkFileObj(std::string vName, bool vChecked, int32_t vBacktype, std::string_view vDirs,
               std::string_view vDeletes, std::string_view vProts, uint32_t Onlies);

  const std::string& TypName() const { return fName; }
  void SetTypName(std::string v) { fName = std::move(v); }
  bool IsChecked() const { return fChecked; }
  void SetIsChecked(bool v) { fChecked = v; }
  int32_t Backtype() const { return fBacktype; }
  void SetBackType(int32_t v);
  const FolderList& Dirs() const { return fDirs; }
  void SetDirs(const FolderList& v) { fDirs = v; }
  const SpecList& Deletes() const { return fDeletes; }
  void SetDeletes(const SpecList& v) { fDeletes = v; }
  const SpecList& Prots() const { return fProts; }
  void SetProts(const SpecList& v) { fProts = v; }

  bool DateRestrict() const { return fDateRestrict; }
  void SetDateRestrict(bool v) { fDateRestrict = v; }
  int32_t DateRestrictType() const { return fDateRestrictType; }
  void SetDateRestrictType(int32_t v);
  double DateData1() const { return fDateData1; }
  double DateData2() const { return fDateData2; }

  bool AgeRestrict() const { return fAgeRestrict; }
  void SetAgeRestrict(bool v) { fAgeRestrict = v; }
  int32_t AgeRestrictType() const { return fAgeRestrictType; }
  void SetAgeRestrictType(int32_t v);
  int32_t AgeData1() const { return fAgeData1; }
  int32_t AgeData2() const { return fAgeData2; }

  bool SizeRestrict() const { return fSizeRestrict; }
  void SetSizeRestrict(bool v) { fSizeRestrict = v; }
  int32_t SizeRestrictType() const { return fSizeRestrictType; }
  void SetSizeRestrictType(int32_t v);
  int32_t SizeData1() const { return fSizeData1; }
  int32_t SizeData2() const { return fSizeData2; }
  int32_t SizeUnit() const { return fSizeUnit; }
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
  int32_t fBacktype = cuRecycle;
  FolderList fDirs;
  SpecList fDeletes;
  SpecList fProts;
  bool fDateRestrict = false;
  int32_t fDateRestrictType = 0;
  double fDateData1 = 0;
  double fDateData2 = 0;
  bool fAgeRestrict = false;
  int32_t fAgeRestrictType = 0;
  int32_t fAgeData1 = 0;
  int32_t fAgeData2 = 0;
  bool fSizeRestrict = false;
  int32_t fSizeRestrictType = 0;
  int32_t fSizeData1 = 0;
  int32_t fSizeData2 = 0;
  int32_t fSizeUnit = 0;
};

// Start of the folder entry that stands for all local drives.
inline constexpr std::string_view kLocalDrivesPrefix = "Local drives (";

}  // namespace vorlo
