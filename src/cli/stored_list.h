// The list vorlo-cli works on: loaded from a data folder as the window
// loads it at start, without the restore question; a read error is one
// "vorlo-cli: " line on the error stream.
#pragma once

#include <cstdio>

#include "app/startup.h"

namespace vorlo::cli {

StartupList LoadStoredList(const DataFiles& files, RecycleBinCheck& bins, std::FILE* err);

}  // namespace vorlo::cli
