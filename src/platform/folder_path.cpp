#include "platform/folder_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"

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

namespace {

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// Whether a link found at `link` (its own facts in `st`) could have been put
// there or changed by a user other than root.
bool OthersCouldChange(const std::string& link, const struct stat& st) {
  if (st.st_uid != 0) return true;
  struct stat folder {};
  if (::lstat(ParentOf(link).c_str(), &folder) != 0) return true;
  const bool othersWrite = (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (folder.st_mode & S_ISVTX) == 0;
  return folder.st_uid != 0 || othersWrite;
}

// Goes through the links of `entry` one by one, as the kernel would, and
// refuses the first that another user could change.
int CheckLinksForRoot(const std::string& entry) {
  std::vector<std::string> pending;
  const auto push = [&pending](std::string_view path) {
    std::vector<std::string> parts;
    for (size_t pos = 0; pos <= path.size();) {
      size_t end = path.find('/', pos);
      if (end == std::string_view::npos) end = path.size();
      if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
      pos = end + 1;
    }
    pending.insert(pending.end(), parts.rbegin(), parts.rend());
  };
  push(entry);
  std::string resolved = "/";
  for (int links = 0; !pending.empty();) {
    const std::string part = std::move(pending.back());
    pending.pop_back();
    if (part == ".") continue;
    if (part == "..") {
      resolved = ParentOf(resolved);
      continue;
    }
    const std::string next = (resolved == "/" ? "" : resolved) + "/" + part;
    struct stat st {};
    if (::lstat(next.c_str(), &st) != 0) return 0;  // the rest does not exist: nothing to follow
    if (!S_ISLNK(st.st_mode)) {
      resolved = next;
      continue;
    }
    if (OthersCouldChange(next, st)) return kUnsafeLink;
    if (++links > 40) return 0;  // a loop: the scan finds no folder there
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
    const ssize_t n = ::readlink(next.c_str(), target.data(), target.size());
    if (n < 0) return 0;
    target.resize(static_cast<size_t>(n));
    if (target.starts_with('/')) resolved.assign(1, '/');
    push(target);
  }
  return 0;
}

}  // namespace

FolderResolution ResolveFolderEntry(const std::string& entry) {
  if (::geteuid() == 0 && entry.starts_with('/'))
    if (const int err = CheckLinksForRoot(entry)) return {entry, err};
  return {ResolvedFolder(entry), 0};
}

}  // namespace vorlo
