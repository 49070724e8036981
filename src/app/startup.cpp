#include "app/startup.h"

#include <cerrno>

#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/default_types.h"
#include "core/junk_list_file.h"
#include "core/recycle_bin.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

void ShowError(UserPort& port, const std::string& text) { port.Ask({MsgKind::Error, text, {MsgButton::Ok}, 0}); }

// A list file that could not be read: nothing of it is loaded, and it is
// left where it is (a folder or a link is not a file to copy aside).
StartupList Unreadable(UserPort& port, const std::string& path, int err, bool refuse) {
  std::string text = "Cannot read " + ShownName(path) + ": " + ErrorText(err);
  if (err == ENOENT && FileExists(path)) text += " (a link to a missing file)";
  if (refuse) text += std::string(texts::kNotStarted);
  ShowError(port, text);
  return {{}, true, true};
}

// Reads the records of a list file's bytes; a fault is shown, after the file
// was copied aside when asked.
StartupList Load(UserPort& port, const std::string& path, const std::string& bytes, bool keepBadAside) {
  JunkListRead read = ReadJunkListFile(path, bytes);
  StartupList result{std::move(read.types), read.error.has_value()};
  if (!read.error) return result;
  std::string text = *read.error;
  if (keepBadAside) {
    const std::string aside = path + ".bad";
    if (WriteFileReplacing(aside, bytes) == 0) text += "\r\n\r\nThe file has been kept as " + ShownName(aside) + ".";
  }
  ShowError(port, text);
  return result;
}

// The data file, or the default table at a first start.
StartupList LoadDataFile(UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                         const DefaultFolders& defaults, StartupLoad how) {
  const std::string path = files.DataFile();
  const FileRead file = ReadWholeFile(path, kListFileLimit);
  // FileExists sees a link whose target is missing: that is no first start.
  const bool firstStart = file.error == 0 ? file.bytes.empty() : file.error == ENOENT && !FileExists(path);
  if (!firstStart) {
    if (file.error != 0) return Unreadable(port, path, file.error, how.refuseUnreadable);
    return Load(port, path, file.bytes, how.keepBadAside);
  }
  StartupList result;
  AddAllDefaults(result.types, bins.RecycleBinProblem(), defaults, DefaultsFor::FirstStart);
  return result;
}

// A declined recovery file goes out of the way; false, after an error, when
// it is still there.
bool SetRecoveryAside(UserPort& port, const DataFiles& files) {
  const std::string recovery = files.RecoveryFile(), declined = files.DeclinedFile();
  const int err = RenameFile(recovery, declined);
  if (err == 0) return true;
  const std::string reason = ErrorText(err);
  ShowError(port, FormatText(texts::kCannotSetAside, ShownName(recovery).c_str(), ShownName(declined).c_str(), reason.c_str()));
  return false;
}

}  // namespace

StartupList LoadStartupList(UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                            const DefaultFolders& defaults, StartupLoad how) {
  bool declinedKept = false;
  if (how.offerRecovery && FileExists(files.RecoveryFile())) {
    const Message ask{MsgKind::Question, std::string(texts::kRestoreQuestion), {MsgButton::Yes, MsgButton::No}, 0};
    if (port.Ask(ask) == MsgButton::Yes) {
      const std::string path = files.RecoveryFile();
      const FileRead file = ReadWholeFile(path, kListFileLimit);
      if (file.error != 0) return Unreadable(port, path, file.error, how.refuseUnreadable);
      return Load(port, path, file.bytes, how.keepBadAside);
    }
    declinedKept = !SetRecoveryAside(port, files);
  }
  StartupList result = LoadDataFile(port, files, bins, defaults, how);
  result.declinedKept = declinedKept;
  return result;
}

int DisableBinTypes(JunkList& list, UserPort& port, RecycleBinCheck& bins) {
  if (!bins.RecycleBinProblem()) return 0;
  const int disabled = UncheckBinTypes(list);
  if (disabled > 0)
    port.Ask({MsgKind::Error, FillPlaceholder(bins.BadBinMsg(), FormatText(texts::kTypesDisabled, disabled)),
              {MsgButton::Ok, MsgButton::Help}, texts::kHelpRecycleBin});
  return disabled;
}

void PromoteRecoveryFile(UserPort& port, const DataFiles& files) {
  if (const int err = CreateFolderTree(files.folder); err != 0)
    return ShowError(port, "Cannot create " + ShownName(files.folder) + ": " + ErrorText(err));
  if (!FileExists(files.RecoveryFile())) return;
  // One rename replaces the data file, so there is never a moment without one.
  if (const int err = RenameFile(files.RecoveryFile(), files.DataFile()); err != 0)
    ShowError(port, "Cannot replace " + ShownName(files.DataFile()) + ": " + ErrorText(err));
}

}  // namespace vorlo
