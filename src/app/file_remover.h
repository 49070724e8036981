// The file operations of a clean-up run, behind an interface so that tests
// can make any of them fail. Each says what happened to each file, so the
// run never has to look at a file again to learn it. The system
// implementation uses the race-safe platform operations.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/found_file.h"
#include "platform/removal.h"
#include "platform/trash.h"

namespace vorlo {

class FileRemover {
 public:
  virtual ~FileRemover() = default;
  // A run starts: a disk mounted since the last run has its trash and
  // holding folder too.
  virtual void BeginRun() {}
  // On the scan thread, while the found file's folder is open.
  [[nodiscard]] virtual RemovalResult Delete(const FoundFile& file) = 0;
  [[nodiscard]] virtual RemovalResult MoveToHolding(const FoundFile& file) = 0;
  // One call for the batch; a result per item, in the order of `items`,
  // each told to `onResult` as soon as it is known (false stops the send:
  // the rest stay). Their folder descriptors are open during the call.
  [[nodiscard]] virtual std::vector<RemovalResult> SendToTrash(const std::vector<TrashItem>& items,
                                                               const TrashResultHook& onResult) = 0;
};

class SystemFileRemover final : public FileRemover {
 public:
  // With `currentDrives`, each run takes the local drives from it afresh;
  // without, the setups' drives stay.
  SystemFileRemover(TrashSetup trash, HoldingSetup holding,
                    std::function<std::vector<std::string>()> currentDrives = {})
      : trash_(std::move(trash)), holding_(std::move(holding)), currentDrives_(std::move(currentDrives)) {}
  void BeginRun() override {
    if (!currentDrives_) return;
    trash_.driveRoots = currentDrives_();
    holding_.driveRoots = trash_.driveRoots;
  }
  // Each acts only on the very file the scan decided on.
  RemovalResult Delete(const FoundFile& file) override {
    return DeleteFileAt(file.folder, file.name.data(), &file.stat.identity);
  }
  RemovalResult MoveToHolding(const FoundFile& file) override {
    return MoveToHoldingAt(file.folder, file.name.data(), file.path, holding_, &file.stat.identity);
  }
  std::vector<RemovalResult> SendToTrash(const std::vector<TrashItem>& items, const TrashResultHook& onResult) override {
    return SendToTrashAt(items, trash_, {}, onResult);
  }

 private:
  TrashSetup trash_;
  HoldingSetup holding_;
  std::function<std::vector<std::string>()> currentDrives_;
};

}  // namespace vorlo
