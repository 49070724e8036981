#include "app/startup.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/data_files.h"
#include "core/junk_list_file.h"
#include "core/recycle_bin.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

std::string DataFiles::DataFile() const { return folder + std::string(DatName); }
std::string DataFiles::RecoveryFile() const { return folder + std::string(DolName); }

namespace {

void ShowError(UserPort& port, const std::string& text) { port.Ask({MsgKind::Error, text, {MsgButton::Ok}, 0}); }

// Reads a list file into the list; on a fault the file is copied aside.
void LoadFrom(JunkList& list, UserPort& port, const std::string& path) {
  JunkListRead read = LoadJTFromFile(path);
  for (TJunkFileObj& t : read.types) list.Append(std::move(t));
  if (!read.error) return;
  const std::string aside = path + ".bad";
  const FileRead bytes = ReadWholeFile(path);
  std::string text = *read.error;
  if (bytes.error == 0 && WriteFileReplacing(aside, bytes.bytes) == 0)
    text += "\r\n\r\nThe file has been kept as " + aside + ".";
  ShowError(port, text);
}

}  // namespace

void LoadStartupList(JunkList& list, UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                     const std::function<void(std::vector<TJunkFileObj>&, bool)>& addDefaults) {
  if (FileExists(files.RecoveryFile())) {
    const Message ask{MsgKind::Question, std::string(texts::kRestoreQuestion), {MsgButton::Yes, MsgButton::No}, 0};
    if (port.Ask(ask) == MsgButton::Yes) return LoadFrom(list, port, files.RecoveryFile());
  }
  if (FileSize(files.DataFile()) > 0) return LoadFrom(list, port, files.DataFile());
  std::vector<TJunkFileObj> defaults;
  addDefaults(defaults, bins.RecycleBinProblem());
  for (TJunkFileObj& t : defaults) list.Append(std::move(t));
}

void DisableBinTypes(JunkList& list, UserPort& port, RecycleBinCheck& bins) {
  if (!bins.RecycleBinProblem()) return;
  int disabled = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    JunkRow& row = list[i];
    if (!row.type || row.type->Backtype() != CleanupMethod::cuRecycle) continue;
    if (row.type->IsChecked()) ++disabled;
    row.type->SetIsChecked(false);
    list.SetChecked(i, false);
  }
  if (disabled > 0)
    port.Ask({MsgKind::Error, FillPlaceholder(bins.BadBinMsg(), FormatText(texts::kTypesDisabled, disabled)),
              {MsgButton::Ok, MsgButton::Help}, texts::kHelpRecycleBin});
}

void PromoteRecoveryFile(UserPort& port, const DataFiles& files) {
  if (const int err = CreateFolderTree(files.folder); err != 0)
    return ShowError(port, "Cannot create " + files.folder + ": " + ErrorText(err));
  if (!FileExists(files.RecoveryFile())) return;
  // One rename replaces the data file, so there is never a moment without one.
  if (std::rename(files.RecoveryFile().c_str(), files.DataFile().c_str()) != 0)
    ShowError(port, "Cannot replace " + files.DataFile() + ": " + ErrorText(errno));
}

}  // namespace vorlo
