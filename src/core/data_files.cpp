#include "core/data_files.h"

namespace vorlo {

DataFiles::DataFiles(std::string f) : folder(std::move(f)) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
}

std::string DataFiles::DataFile() const { return folder + std::string(DatName); }
std::string DataFiles::RecoveryFile() const { return folder + std::string(DolName); }
std::string DataFiles::DeclinedFile() const { return folder + std::string(DeclinedName); }
std::string DataFiles::Log() const { return folder + std::string(LogName); }
std::string DataFiles::TestLog() const { return folder + std::string(TestName); }
std::string DataFiles::Found() const { return folder + std::string(FoundName); }
std::string DataFiles::Ini() const { return folder + std::string(IniName); }
std::string DataFiles::FoundList() const { return folder + std::string(FoundListName); }
std::string DataFiles::RunLock() const { return folder + std::string(RunLockName); }
std::string DataFiles::WindowLock() const { return folder + std::string(WindowLockName); }
std::string DataFiles::UndoFolder() const { return folder + std::string(UndoFolderName); }
std::string DataFiles::ScheduledRun() const { return folder + std::string(ScheduledRunName); }

}  // namespace vorlo
