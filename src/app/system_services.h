// The engine's connections to this machine, made once at start: clock,
// drives, trash, holding folder, Recycle Bin check, locale texts and the
// data folder. The window and vorlo-cli both build their runs from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/file_remover.h"
#include "app/run_control.h"
#include "app/undo_journal.h"
#include "core/data_files.h"
#include "core/description.h"
#include "core/local_drives.h"
#include "core/recycle_bin.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "platform/log_stamp.h"

namespace vorlo {

class SystemServices {
 public:
  // `dataFolder` empty: the user's data folder.
  explicit SystemServices(std::string dataFolder = {});

  RunSetup MakeRunSetup(UserPort& port, JunkList& list, MainThreadExecutor& mainThread);
  // Where undo finds the clean-ups' journals and the trash and holding
  // folders of the drives as they are now.
  UndoSetup UndoSetupNow() const;
  const DataFiles& Files() const { return files_; }
  RecycleBinCheck& Bins() { return *bins_; }
  LocalDriveSource& Drives() { return drives_; }
  const Clock& SystemTime() const { return clock_; }
  // Folders no scan enters: the home trash and the home holding folder.
  std::vector<std::string> SkipFolders() const;
  // The local-drives text and the user's date separator of descriptions.
  DescriptionContext Description();

 private:
  SystemClock clock_;
  LocalDriveSource drives_;
  TrashSetup trash_;
  std::unique_ptr<RecycleBinCheck> bins_;
  DataFiles files_;
  UndoJournal journal_;
  std::unique_ptr<SystemFileRemover> remover_;
  LongDateForm dateForm_;
};

}  // namespace vorlo
