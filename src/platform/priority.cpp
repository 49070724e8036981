#include "platform/priority.h"

#include <dirent.h>
#include <sys/resource.h>

#include <cstdlib>

namespace vorlo {

int NiceValueOf(PriorityClass priority) {
  switch (priority) {
    case PriorityClass::Normal: return 0;
    case PriorityClass::AboveNormal: return -5;
    case PriorityClass::High: return -10;
    case PriorityClass::Realtime: return -20;
  }
  return 0;
}

void SetOwnPriority(PriorityClass priority) {
  const int nice = NiceValueOf(priority);
  // PRIO_PROCESS with a thread id acts on that thread alone, so each thread
  // of the process is set; the calling thread at least when the list fails.
  (void)setpriority(PRIO_PROCESS, 0, nice);
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return;
  while (const dirent* entry = readdir(tasks)) {
    char* end = nullptr;
    const long tid = std::strtol(entry->d_name, &end, 10);
    if (tid > 0 && end && *end == '\0') (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
  }
  closedir(tasks);
}

}  // namespace vorlo
