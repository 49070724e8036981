// Trees deeper than PATH_MAX, made, opened and removed relative to folder
// descriptors.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorlo::testing {

// Removes a tree of any depth, relative to descriptors.
inline void RemoveTreeAt(int parent, const char* name) {
  const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    DIR* d = ::fdopendir(fd);
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d))
      if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") names.emplace_back(e->d_name);
    for (const std::string& n : names)
      if (::unlinkat(fd, n.c_str(), 0) != 0) RemoveTreeAt(fd, n.c_str());
    ::closedir(d);
  }
  ::unlinkat(parent, name, AT_REMOVEDIR);
}

// Opens (creating when asked) `levels` folders named `name` one below the
// other in `base`; returns the deepest, or -1.
inline int Chain(const std::string& base, const std::string& name, int levels, bool create) {
  int fd = ::open(base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    if (create) ::mkdirat(fd, name.c_str(), 0700);
    const int next = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    ::close(fd);
    fd = next;
  }
  return fd;
}

}  // namespace vorlo::testing
