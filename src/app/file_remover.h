// The file operations of a clean-up run, behind an interface so that tests
// can make any of them fail. The system implementation uses the race-safe
// platform operations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/removal.h"
#include "platform/trash.h"

namespace vorlo {

class FileRemover {
 public:
  virtual ~FileRemover() = default;
  virtual bool Exists(const std::string& path) = 0;
  virtual int64_t Size(const std::string& path) = 0;
  virtual int Delete(const std::string& path) = 0;
  virtual int MoveToHolding(const std::string& path) = 0;
  // One call for the batch: 0, or the errno of the first failure.
  virtual int SendToTrash(const std::vector<std::string>& paths) = 0;
};

class SystemFileRemover final : public FileRemover {
 public:
  SystemFileRemover(TrashSetup trash, HoldingSetup holding)
      : trash_(std::move(trash)), holding_(std::move(holding)) {}
  bool Exists(const std::string& path) override { return PathExists(path); }
  int64_t Size(const std::string& path) override { return FSiz(path); }
  int Delete(const std::string& path) override { return DeleteFilePermanently(path); }
  int MoveToHolding(const std::string& path) override { return vorlo::MoveToHolding(path, holding_); }
  int SendToTrash(const std::vector<std::string>& paths) override { return vorlo::SendToTrash(paths, trash_); }

 private:
  TrashSetup trash_;
  HoldingSetup holding_;
};

}  // namespace vorlo
