// Figures of this process from /proc/self/status, for the benchmarks.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace vorlo::bench {

// A field such as "VmHWM:" in kB; -1 when it is not there.
inline long StatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(field)) return std::atol(line.c_str() + std::char_traits<char>::length(field));
  return -1;
}

}  // namespace vorlo::bench
