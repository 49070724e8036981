#include "platform/folder_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>

namespace vorlo {

namespace {

constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                 IN_ONLYDIR;

size_t UserWatchLimit() {
  std::ifstream in("/proc/sys/fs/inotify/max_user_watches");
  size_t limit = 0;
  if (!(in >> limit)) limit = 8192;  // the kernel's smallest default
  return limit;
}

}  // namespace

FolderWatch::FolderWatch(size_t budget) {
  budget_ = std::min(budget, UserWatchLimit() / 2);
  if (budget_ > 0) fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

FolderWatch::~FolderWatch() {
  if (fd_ >= 0) ::close(fd_);  // drops every watch
}

int FolderWatch::Watch(int fd) {
  if (fd_ < 0 || fd < 0 || watches_.size() >= budget_) return -1;
  // The descriptor's own entry names exactly the open folder.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  const int watch = ::inotify_add_watch(fd_, self.c_str(), kNameEvents);
  if (watch >= 0) watches_.insert(watch);
  return watch;
}

void FolderWatch::Forget(int watch) {
  if (fd_ < 0 || watches_.erase(watch) == 0) return;
  ::inotify_rm_watch(fd_, watch);
}

bool FolderWatch::Collect(const std::function<void(int)>& changed) {
  if (fd_ < 0) return true;
  alignas(inotify_event) char buffer[65536];
  bool complete = true;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return complete;  // EAGAIN: nothing more queued
    for (ssize_t pos = 0; pos < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + pos);
      pos += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      if (e->mask & IN_Q_OVERFLOW) complete = false;
      // Only folders still watched are news; IN_IGNORED ends a watch (the
      // folder was removed, its file system unmounted, or Forget).
      if (e->wd < 0 || !watches_.contains(e->wd)) continue;
      if (e->mask & IN_IGNORED) watches_.erase(e->wd);
      changed(e->wd);
    }
  }
}

}  // namespace vorlo
