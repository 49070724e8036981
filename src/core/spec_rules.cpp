#include "core/spec_rules.h"

#include <algorithm>
#include <cstdint>

#include "core/text.h"
#include "core/wildcard.h"

namespace vorlo {

namespace {

// A specification's name and extension: the extension is what follows the
// last period after the first character; without such a period it is empty.
struct SpecParts {
  std::string_view name, ext;
};

SpecParts SplitSpec(std::string_view text) {
  const size_t dot = text.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {text, {}};
  return {text.substr(0, dot), text.substr(dot + 1)};
}

// A name of periods alone names no file.
bool NameMissing(std::string_view name) { return name.find_first_not_of('.') == std::string_view::npos; }

bool HasStar(std::string_view s) { return s.find('*') != std::string_view::npos; }
bool HasWild(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

}  // namespace

std::string_view SpecStatus(std::string_view text) {
  const auto [name, ext] = SplitSpec(text);
  if (NameMissing(name)) return kStatNoName;
  // As matching decides it: "*~", "core" and "core." take only names
  // without an extension.
  if (HasNoExt(text)) return kStatNoExt;
  if (DecodeUtf8(ext).size() >= 4) return kStatLongExt;
  if (ext == "*" && name == "*") return kStatAllFiles;
  if (HasStar(name) && HasStar(ext)) return kStatStarBoth;
  if (!HasWild(name) && !HasWild(ext)) return kStatExact;
  return {};
}

bool SpecOk(std::string_view text) { return !NameMissing(SplitSpec(text).name); }

bool IsFullPath(std::string_view text) { return text.starts_with('/'); }

std::string_view FullNameStatus(std::string_view text, bool fileThere) {
  if (!IsFullPath(text)) return kStatNotFull;
  return fileThere ? kStatExists : kStatMissing;
}

std::string StoredProtectPattern(std::string pattern) {
  if (pattern.find('.') == std::string::npos) pattern += '.';
  return pattern;
}

std::optional<int32_t> SizeNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

bool RestrictionsComplete(const RestrictionChoice& c) {
  if (c.dateOn) {
    if (c.dateType < 0) return false;
    const bool two = c.dateType == 3 || c.dateType == 4;
    if (c.byDate) {
      if (two && c.date1 == c.date2) return false;
    } else if (c.byAge) {
      if (c.age1 < 0) return false;
      if (two && (c.age2 < 0 || c.age2 == c.age1)) return false;
    } else {
      return false;
    }
  }
  if (c.sizeOn) {
    if (c.sizeType < 0 || c.sizeUnit < 0 || !SizeNumber(c.size1)) return false;
    if (c.sizeType > 2 && (!SizeNumber(c.size2) || c.size1 == c.size2)) return false;
  }
  return true;
}

}  // namespace vorlo
