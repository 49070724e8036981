// The files of the data folder. Every file Vorlo keeps there is named here,
// so that the window, the wizard, the runs and vorlo-cli agree on them.
#pragma once

#include <string>
#include <string_view>

namespace vorlo {

struct DataFiles {
  static constexpr std::string_view DatName = "Vorlo.DAT";
  static constexpr std::string_view DolName = "Vorlo.D$$";
  static constexpr std::string_view DeclinedName = "Vorlo.D$$.declined";
  static constexpr std::string_view LogName = "Vorlo.LOG.TXT";
  static constexpr std::string_view TestName = "Vorlo.TEST.TXT";
  static constexpr std::string_view FoundName = "Vorlo.found";
  static constexpr std::string_view IniName = "Vorlo.ini";
  static constexpr std::string_view FoundListName = "Vorlo.$$$.TXT";
  static constexpr std::string_view RunLockName = "Vorlo.lock";
  static constexpr std::string_view WindowLockName = "Vorlo.window.lock";
  static constexpr std::string_view UndoFolderName = "Vorlo.undo";
  static constexpr std::string_view ScheduledRunName = "Vorlo.scheduled.txt";

  DataFiles() = default;
  // Adds the trailing "/" when it is missing (an empty folder stays empty).
  explicit DataFiles(std::string folder);

  std::string folder;  // with a trailing "/"

  std::string DataFile() const;      // the junk list, replaced at close
  std::string RecoveryFile() const;  // the junk list as last changed
  std::string DeclinedFile() const;  // a recovery file the user chose not to restore
  std::string Log() const;           // clean-up log
  std::string TestLog() const;       // analysis log
  std::string Found() const;         // the files the last analysis found, replaced by each analysis
  std::string Ini() const;           // settings: window placements, editor folders
  std::string FoundList() const;     // the wizard count's files, one path a line
  std::string RunLock() const;       // held by the one clean-up or analysis run
  std::string WindowLock() const;    // held by the one window over this folder's list
  std::string UndoFolder() const;    // the clean-ups' undo journals, without trailing "/"
  std::string ScheduledRun() const;  // the outcome of the last scheduled clean-up
};

}  // namespace vorlo
