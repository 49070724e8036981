#include "platform/paths.h"

namespace vorlo {

std::optional<std::string> DriveOfPath(const std::vector<std::string>& roots, std::string_view path) {
  const std::string* best = nullptr;
  size_t bestLength = 0;
  for (const std::string& root : roots) {
    std::string_view r = root;
    if (r.empty()) continue;
    while (r.size() > 1 && r.back() == '/') r.remove_suffix(1);
    if (!path.starts_with(r)) continue;
    const bool wholeComponent = r.back() == '/' || path.size() == r.size() || path[r.size()] == '/';
    if (wholeComponent && (!best || r.size() > bestLength)) {
      best = &root;
      bestLength = r.size();
    }
  }
  if (!best) return std::nullopt;
  return *best;
}

}  // namespace vorlo
