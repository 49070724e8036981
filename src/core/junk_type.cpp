#include "core/junk_type.h"

#include <cmath>
#include <utility>

#include "core/text.h"

namespace vorlo {

namespace {

template <typename T>
void StoreOrdered(int32_t code, T v1, T v2, T& f1, T& f2) {
  const bool range = code == 3 || code == 4;
  if (range && v2 < v1) std::swap(v1, v2);
  f1 = v1;
  f2 = v2;
}

// Negative values fail too: the range test reads the value as unsigned.
void StoreInRange(int32_t& field, int32_t v, uint32_t max, const char* message) {
  if (static_cast<uint32_t>(v) > max) throw JunkTypeError(message);
  field = v;
}

bool SameSpecs(const SpecList& a, const SpecList& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (!SameTextFolded(a[i], b[i])) return false;
  return true;
}

}  // namespace

TJunkFileObj::TJunkFileObj(std::string vName, bool vChecked, int32_t vBacktype, const FolderList& vDirs,
                           const SpecList& vDeletes, const SpecList& vProts, bool vDateRestrict,
                           int32_t vDateRestrictType, double vDateData1, double vDateData2, bool vAgeRestrict,
                           int32_t vAgeRestrictType, int32_t vAgeData1, int32_t vAgeData2, bool vSizeRestrict,
                           int32_t vSizeRestrictType, int32_t vSizeData1, int32_t vSizeData2, int32_t vSizeUnit)
    : fName(std::move(vName)),
      fChecked(vChecked),
      fBacktype(vBacktype),
      fDirs(vDirs),
      fDeletes(vDeletes),
      fProts(vProts),
      fDateRestrict(vDateRestrict),
      fDateRestrictType(vDateRestrictType),
      fAgeRestrict(vAgeRestrict),
      fAgeRestrictType(vAgeRestrictType),
      fSizeRestrict(vSizeRestrict),
      fSizeRestrictType(vSizeRestrictType),
      fSizeUnit(vSizeUnit) {
  StoreOrdered(vDateRestrictType, std::trunc(vDateData1), std::trunc(vDateData2), fDateData1, fDateData2);
  StoreOrdered(vAgeRestrictType, vAgeData1, vAgeData2, fAgeData1, fAgeData2);
  StoreOrdered(vSizeRestrictType, vSizeData1, vSizeData2, fSizeData1, fSizeData2);
}

TJunkFileObj::TJunkFileObj(std::string vName, bool vChecked, int32_t vBacktype, std::string_view vDirs,
                           std::string_view vDeletes, std::string_view vProts, uint32_t Onlies)
    : fName(std::move(vName)), fChecked(vChecked), fBacktype(vBacktype) {
  const std::vector<std::string> dirs = SplitLines(vDirs);
  for (size_t i = 0; i < dirs.size(); ++i) {
    const bool folderOnly = i < 32 && (Onlies >> i) & 1u;
    fDirs.push_back({dirs[i], folderOnly ? pFolOnly : pFolAndSub});
  }
  fDeletes = SplitLines(vDeletes);
  fProts = SplitLines(vProts);
}

void TJunkFileObj::SetBackType(int32_t v) { StoreInRange(fBacktype, v, 2, "Invalid backup type"); }

void TJunkFileObj::SetDateRestrictType(int32_t v) { StoreInRange(fDateRestrictType, v, 4, "Invalid date restriction"); }

void TJunkFileObj::SetAgeRestrictType(int32_t v) { StoreInRange(fAgeRestrictType, v, 4, "Invalid age restriction"); }

void TJunkFileObj::SetSizeRestrictType(int32_t v) { StoreInRange(fSizeRestrictType, v, 4, "Invalid size restriction"); }

void TJunkFileObj::SetSizeUnit(int32_t v) { StoreInRange(fSizeUnit, v, 2, "Invalid Size unit"); }

bool TJunkFileObj::SameAs(const TJunkFileObj& TJ) const {
  if (fBacktype != TJ.fBacktype) return false;
  if (fDateRestrict != TJ.fDateRestrict || fDateRestrictType != TJ.fDateRestrictType ||
      fDateData1 != TJ.fDateData1 || fDateData2 != TJ.fDateData2)
    return false;
  if (fAgeRestrict != TJ.fAgeRestrict || fAgeRestrictType != TJ.fAgeRestrictType ||
      fAgeData1 != TJ.fAgeData1 || fAgeData2 != TJ.fAgeData2)
    return false;
  if (fSizeRestrict != TJ.fSizeRestrict || fSizeRestrictType != TJ.fSizeRestrictType ||
      fSizeData1 != TJ.fSizeData1 || fSizeData2 != TJ.fSizeData2 || fSizeUnit != TJ.fSizeUnit)
    return false;
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
