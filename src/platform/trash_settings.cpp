#include "platform/trash_settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>

#include "platform/paths.h"

namespace vorlo {

namespace {

// KDE's own default for a trash whose group has a size limit but no Percent.
constexpr int32_t kDefaultLimitPercent = 10;
constexpr int32_t kNoLimitPercent = 100;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string Join(const std::string& folder, std::string_view name) {
  std::string out = folder;
  if (out.empty() || out.back() != '/') out += '/';
  out += name;
  return out;
}

bool IsRealFolder(const std::string& path, struct stat* st) {
  return ::lstat(path.c_str(), st) == 0 && S_ISDIR(st->st_mode);
}

// KConfig writes bytes it cannot show plainly as backslash escapes.
std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    switch (c) {
      case 's': out += ' '; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 'x': {
        unsigned value = 0;
        const char* first = s.data() + i + 1;
        const char* last = s.data() + std::min(s.size(), i + 3);
        const auto [ptr, ec] = std::from_chars(first, last, value, 16);
        if (ec == std::errc() && ptr == last && last - first == 2) {
          out += static_cast<char>(value);
          i += 2;
        } else {
          out += "\\x";
        }
        break;
      }
      default: out += c; break;  // "\\" and "\]" and the like
    }
  }
  return out;
}

// The group name of a "[...]" line; nothing for a nested group ("[a][b]"),
// whose keys belong to another group. A "[$i]" marker is not a nesting.
std::optional<std::string> GroupName(std::string_view line) {
  std::string raw;
  size_t i = 1;
  for (; i < line.size() && line[i] != ']'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) raw += line[i++];
    raw += line[i];
  }
  if (i >= line.size()) return std::nullopt;
  const std::string_view rest = Trim(line.substr(i + 1));
  if (!rest.empty() && rest != "[$i]") return std::nullopt;
  return WithoutTrailingSlash(Unescape(raw));
}

std::optional<bool> ParseBool(std::string_view value) {
  std::string lower(value);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower == "true" || lower == "on" || lower == "yes" || lower == "1") return true;
  if (lower == "false" || lower == "off" || lower == "no" || lower == "0") return false;
  return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view value) {
  double number = 0;
  const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec != std::errc() || !std::isfinite(number)) return std::nullopt;
  return number;
}

struct LimitEntries {
  std::optional<bool> useSizeLimit;
  std::optional<double> percent;
};

// The size-limit entries of every group of a ktrashrc text; a later entry
// of a group wins, as KConfig merges repeated groups.
std::map<std::string, LimitEntries> ParseKtrashrc(std::string_view text) {
  std::map<std::string, LimitEntries> groups;
  LimitEntries* current = nullptr;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::optional<std::string> name = GroupName(line);
      current = name ? &groups[*name] : nullptr;
      continue;
    }
    const size_t eq = line.find('=');
    if (current == nullptr || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    if (key == "UseSizeLimit") {
      if (auto b = ParseBool(value)) current->useSizeLimit = b;
    } else if (key == "Percent") {
      if (auto n = ParseNumber(value)) current->percent = n;
    }
  }
  return groups;
}

int32_t PercentOf(const std::map<std::string, LimitEntries>& groups, const std::string& trashFolder) {
  const auto it = groups.find(WithoutTrailingSlash(trashFolder));
  if (it == groups.end() || it->second.useSizeLimit != true) return kNoLimitPercent;
  if (!it->second.percent) return kDefaultLimitPercent;
  const double p = std::floor(*it->second.percent);
  if (p <= 0) return 0;
  if (p >= 100) return 100;
  return static_cast<int32_t>(p);
}

// The trash folder that files of the drive at `root` go to.
std::string TrashFolderOfDrive(const std::string& root, uint32_t uid) {
  const std::string shared = Join(root, ".Trash");
  struct stat st;
  if (IsRealFolder(shared, &st) && (st.st_mode & S_ISVTX) != 0) return Join(shared, std::to_string(uid));
  return Join(root, ".Trash-" + std::to_string(uid));
}

}  // namespace

std::vector<TrashDriveSettings> ReadTrashSettings(const TrashSetup& setup, const std::string& ktrashrc) {
  std::string text;
  if (std::ifstream in(ktrashrc, std::ios::binary); in) text.assign(std::istreambuf_iterator<char>(in), {});
  const std::map<std::string, LimitEntries> groups = ParseKtrashrc(text);

  const std::optional<std::string> homeDrive = DriveOfPath(setup.driveRoots, setup.homeTrash);
  std::vector<TrashDriveSettings> result;
  result.reserve(setup.driveRoots.size());
  for (const std::string& root : setup.driveRoots) {
    const std::string folder = homeDrive && root == *homeDrive ? setup.homeTrash : TrashFolderOfDrive(root, setup.uid);
    TrashDriveSettings drive;
    drive.mountPoint = root;
    struct stat st;
    drive.listed = IsRealFolder(folder, &st);
    drive.writable = drive.listed && ::access(folder.c_str(), W_OK | X_OK) == 0;
    drive.percent = PercentOf(groups, folder);
    result.push_back(std::move(drive));
  }
  return result;
}

}  // namespace vorlo
