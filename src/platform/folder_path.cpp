#include "platform/folder_path.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vorlo {

std::string ResolvedFolder(const std::string& entry) {
  if (entry.empty() || entry.front() != '/') return entry;
  if (char* real = ::realpath(entry.c_str(), nullptr)) {
    std::string resolved(real);
    std::free(real);
    return resolved;
  }
  if (errno != ENOENT) return entry;
  // Resolve the parent and keep the missing last name; "." or ".." after a
  // missing folder cannot be resolved.
  std::string parent = entry;
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  const size_t slash = parent.rfind('/');
  const std::string name = parent.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return entry;
  parent.resize(slash == 0 ? 1 : slash);
  const std::string resolvedParent = ResolvedFolder(parent);
  return resolvedParent == "/" ? "/" + name : resolvedParent + "/" + name;
}

}  // namespace vorlo
