// The file operations of a clean-up run, behind an interface so that tests
// can make any of them fail. Each says what happened to each file, so the
// run never has to look at a file again to learn it. The system
// implementation uses the race-safe platform operations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/found_file.h"
#include "platform/removal.h"
#include "platform/trash.h"

namespace vorlo {

class UndoJournal;

class FileRemover {
 public:
  virtual ~FileRemover() = default;
  // A clean-up starts at `startUtc`: a disk mounted since the last run has
  // its trash and holding folder too, and the run its undo journal. 0, or
  // the errno of what the run cannot do without (its journal): then it
  // must not start.
  [[nodiscard]] virtual int BeginCleanUp(int64_t startUtc) {
    (void)startUtc;
    return 0;
  }
  virtual void EndCleanUp() {}
  // On the scan thread, while the found file's folder is open.
  [[nodiscard]] virtual RemovalResult Delete(const FoundFile& file) = 0;
  [[nodiscard]] virtual RemovalResult MoveToHolding(const FoundFile& file) = 0;
  // One call for the batch; a result per item, in the order of `items`,
  // each told to `onResult` as soon as it is known (false stops the send:
  // the rest stay). Their folder descriptors are open during the call.
  [[nodiscard]] virtual std::vector<RemovalResult> SendToTrash(const std::vector<TrashItem>& items,
                                                               const TrashResultHook& onResult) = 0;
};

// The removals of this machine. With a journal, every file sent to the
// trash or moved to the holding folder is recorded before it goes (and a
// file whose record failed stays, kNoRecord), every deletion after it.
class SystemFileRemover final : public FileRemover {
 public:
  // With `currentDrives`, each run takes the local drives from it afresh;
  // without, the setups' drives stay.
  SystemFileRemover(TrashSetup trash, HoldingSetup holding,
                    std::function<std::vector<std::string>()> currentDrives = {}, UndoJournal* journal = nullptr)
      : trash_(std::move(trash)),
        holding_(std::move(holding)),
        currentDrives_(std::move(currentDrives)),
        journal_(journal) {}
  int BeginCleanUp(int64_t startUtc) override;
  void EndCleanUp() override;
  // Each acts only on the very file the scan decided on.
  RemovalResult Delete(const FoundFile& file) override;
  RemovalResult MoveToHolding(const FoundFile& file) override;
  std::vector<RemovalResult> SendToTrash(const std::vector<TrashItem>& items, const TrashResultHook& onResult) override;

  const TrashSetup& Trash() const { return trash_; }
  const HoldingSetup& Holding() const { return holding_; }

  // Seen before each step of a trash send (tests' crash points).
  TrashStepHook trashSteps;

 private:
  bool Journaling() const;

  TrashSetup trash_;
  HoldingSetup holding_;
  std::function<std::vector<std::string>()> currentDrives_;
  UndoJournal* journal_;
};

}  // namespace vorlo
