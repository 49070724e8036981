#include "core/junk_type.h"

#include <cmath>
#include <utility>

#include "core/text.h"

namespace vorlo {

namespace {

// "Between" and "not between" keep their values in ascending order.
template <typename T>
void StoreOrdered(Restriction<T>& r) {
  const bool range = r.type == 3 || r.type == 4;
  if (range && r.data2 < r.data1) std::swap(r.data1, r.data2);
}

// Negative values fail too: the range test reads the value as unsigned.
template <typename Field>
void StoreInRange(Field& field, int32_t v, uint32_t max, const char* message) {
  if (static_cast<uint32_t>(v) > max) throw JunkTypeError(message);
  field = static_cast<Field>(v);
}

bool SameSpecs(const SpecList& a, const SpecList& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (!SameTextFolded(a[i], b[i])) return false;
  return true;
}

}  // namespace

TJunkFileObj::TJunkFileObj(std::string vName, bool vChecked, CleanupMethod vBacktype, const FolderList& vDirs,
                           const SpecList& vDeletes, const SpecList& vProts, const DateRestriction& vDate,
                           const AgeRestriction& vAge, const SizeRestriction& vSize)
    : fName(std::move(vName)),
      fChecked(vChecked),
      fBacktype(vBacktype),
      fDirs(vDirs),
      fDeletes(vDeletes),
      fProts(vProts),
      fDate(vDate),
      fAge(vAge),
      fSize(vSize) {
  fDate.data1 = std::trunc(fDate.data1);
  fDate.data2 = std::trunc(fDate.data2);
  StoreOrdered(fDate);
  StoreOrdered(fAge);
  StoreOrdered(fSize);
}

TJunkFileObj::TJunkFileObj(std::string vName, bool vChecked, CleanupMethod vBacktype, std::string_view vDirs,
                           std::string_view vDeletes, std::string_view vProts, uint32_t Onlies)
    : fName(std::move(vName)), fChecked(vChecked), fBacktype(vBacktype) {
  const std::vector<std::string> dirs = SplitLines(vDirs);
  for (size_t i = 0; i < dirs.size(); ++i) {
    const bool folderOnly = i < 32 && (Onlies >> i) & 1u;
    fDirs.push_back({dirs[i], folderOnly ? FolderRule::pFolOnly : FolderRule::pFolAndSub});
  }
  fDeletes = SplitLines(vDeletes);
  fProts = SplitLines(vProts);
}

void TJunkFileObj::SetBackType(int32_t v) { StoreInRange(fBacktype, v, 2, "Invalid backup type"); }

void TJunkFileObj::SetDateRestrictType(int32_t v) { StoreInRange(fDate.type, v, 4, "Invalid date restriction"); }

void TJunkFileObj::SetAgeRestrictType(int32_t v) { StoreInRange(fAge.type, v, 4, "Invalid age restriction"); }

void TJunkFileObj::SetSizeRestrictType(int32_t v) { StoreInRange(fSize.type, v, 4, "Invalid size restriction"); }

void TJunkFileObj::SetSizeUnit(int32_t v) { StoreInRange(fSize.unit, v, 2, "Invalid Size unit"); }

bool TJunkFileObj::SameAs(const TJunkFileObj& TJ) const {
  // Dates compare as numbers, also while the date restriction is off.
  if (fBacktype != TJ.fBacktype || fDate != TJ.fDate || fAge != TJ.fAge || fSize != TJ.fSize) return false;
  if (fProts.size() != TJ.fProts.size() || fDirs.size() != TJ.fDirs.size() ||
      fDeletes.size() != TJ.fDeletes.size())
    return false;
  if (!SameSpecs(fProts, TJ.fProts) || !SameSpecs(fDeletes, TJ.fDeletes)) return false;
  for (size_t i = 0; i < fDirs.size(); ++i)
    if (!SameTextFolded(fDirs[i].path, TJ.fDirs[i].path) || fDirs[i].rule != TJ.fDirs[i].rule) return false;
  return true;
}

bool TJunkFileObj::SearchesLocalDrives() const {
  return fDirs.empty() || (fDirs.size() == 1 && StartsWith(fDirs[0].path, kLocalDrivesPrefix));
}

}  // namespace vorlo
