#include "cli/schedule_command.h"

#include "app/schedule.h"
#include "core/text.h"
#include "platform/environment.h"
#include "platform/file_ops.h"
#include "platform/locale_info.h"

namespace vorlo::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// The folder as an absolute path: the service runs in another folder.
std::string Absolute(const std::string& folder) {
  if (folder.empty() || folder[0] == '/') return folder;
  const std::string here = WorkingFolder();
  return here.empty() ? std::string() : here + "/" + folder;
}

}  // namespace

int ScheduleCommand(const std::string& word, const std::string& dataDir, std::FILE* out, std::FILE* err) {
  const std::string folder = Absolute(dataDir);
  if (!dataDir.empty() && (folder.empty() || !FolderExists(folder))) {
    std::fprintf(err, "vorlo-cli: no data folder %s\n", ShownName(dataDir).c_str());
    return kFailed;
  }
  SystemServiceManager manager;
  const ScheduleSetup setup{manager, UserUnitFolder(), CompanionProgram(), folder,
                            DataFiles(folder.empty() ? DataFolder() : folder)};
  if (const auto period = PeriodOfWord(word)) {
    if (const std::string why = SetSchedule(setup, *period); !why.empty()) {
      std::fprintf(err, "vorlo-cli: %s\n", why.c_str());
      return kFailed;
    }
  }
  const ScheduleStatus status = ReadSchedule(setup);
  if (!status.unavailable.empty()) {
    std::fprintf(err, "vorlo-cli: %s\n", status.unavailable.c_str());
    return kFailed;
  }
  for (const std::string& line : ScheduleStatusLines(status, UserNumberSeparators())) std::fprintf(out, "%s\n", line.c_str());
  return kDone;
}

}  // namespace vorlo::cli
