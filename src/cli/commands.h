// The commands of vorlo-cli: list, describe, defaults, export-defaults, found
// and the runs (analyze, clean, count).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vorlo::cli {

// Exit codes: 0 done, 1 failed (a file could not be read or written, a bad
// record, a bad index), 2 bad usage.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace vorlo::cli
