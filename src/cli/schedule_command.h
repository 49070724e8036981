// vorlo-cli schedule: turns the scheduled clean-up daily, weekly, monthly or
// off, or prints its status, through the user's service manager.
#pragma once

#include <cstdio>
#include <string>

namespace vorlo::cli {

// `word` is daily, weekly, monthly, off or status; `dataDir` the data folder
// of the scheduled runs (empty: the user's). Exit code: 0 done, 1 refused
// or failed.
int ScheduleCommand(const std::string& word, const std::string& dataDir, std::FILE* out, std::FILE* err);

}  // namespace vorlo::cli
