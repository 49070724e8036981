#include "app/system_services.h"

#include "platform/environment.h"
#include "platform/folder_path.h"
#include "platform/mounts.h"
#include "platform/trash_settings.h"

namespace vorlo {

SystemServices::SystemServices(std::string dataFolder)
    : drives_(SystemLocalDriveSource()),
      trash_(SystemTrashSetup(drives_.Roots(), clock_)),
      files_(dataFolder.empty() ? vorlo::DataFolder() : std::move(dataFolder)),
      journal_(files_.UndoFolder()),
      dateForm_(LongDateForm::User()) {
  bins_ = std::make_unique<RecycleBinCheck>(
      // The drives as they are at each check, not as they were at start.
      [this] { return ReadTrashSettings(SystemTrashSetup(drives_.Roots(), clock_), ConfigHome() + "/ktrashrc"); },
      [](const std::string& mountPoint) {
        const DriveSize size = DriveTotalSize(mountPoint);
        return size.error == 0 ? static_cast<int64_t>(size.bytes) : int64_t{-1};
      });
  // Found paths are real paths (folder entries are resolved at each scan),
  // so the home folder is compared in that form.
  remover_ = std::make_unique<SystemFileRemover>(trash_, HoldingSetup{trash_.driveRoots, ResolvedFolder(HomeFolder())},
                                                 [this] { return drives_.Roots(); }, &journal_);
}

std::vector<std::string> SystemServices::SkipFolders() const {
  // Both as written and resolved: a walk meets them by the resolved path
  // below a folder entry reached through a link.
  std::vector<std::string> skip;
  for (const std::string& folder : {trash_.homeTrash, HomeFolder() + "/" + kHoldingFolderName}) {
    skip.push_back(folder);
    if (std::string resolved = ResolvedFolder(folder); resolved != folder) skip.push_back(std::move(resolved));
  }
  return skip;
}

DescriptionContext SystemServices::Description() { return {drives_.NameForAll(), UserDateSeparator()}; }

UndoSetup SystemServices::UndoSetupNow() const {
  TrashSetup trash = SystemTrashSetup(drives_.Roots(), clock_);
  HoldingSetup holding{trash.driveRoots, ResolvedFolder(HomeFolder())};
  return {files_.UndoFolder(), std::move(trash), std::move(holding)};
}

RunSetup SystemServices::MakeRunSetup(UserPort& port, JunkList& list, MainThreadExecutor& mainThread) {
  return RunSetup{
      .port = port,
      .list = list,
      .mainThread = mainThread,
      .clock = clock_,
      .drives = drives_,
      .bins = *bins_,
      .remover = *remover_,
      .separators = UserNumberSeparators(),
      .files = files_,
      .programFolder = ProgramFolder(),
      .skipFolders = SkipFolders(),
      .dateTimeStamp = [this] { return DateTimeStampText(clock_.ToLocal(clock_.NowUtc()).value_or(LocalDateTime{}), dateForm_); },
      .timeStamp = [this] { return TimeStampText(clock_.ToLocal(clock_.NowUtc()).value_or(LocalDateTime{})); },
      .undoSetup = [this] { return UndoSetupNow(); },
      .dateTimeAt = [this](int64_t utc) { return DateTimeStampText(clock_.ToLocal(utc).value_or(LocalDateTime{}), dateForm_); },
  };
}

}  // namespace vorlo
