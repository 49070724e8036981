#include "cli/stored_list.h"

#include "app/user_port.h"
#include "core/default_types.h"

namespace vorlo::cli {

namespace {

// Errors go to the error stream; nothing is asked.
class ErrorPort final : public UserPort {
 public:
  explicit ErrorPort(std::FILE* err) : err_(err) {}
  MsgButton Ask(const Message& m) override {
    std::fprintf(err_, "vorlo-cli: %s\n", m.text.c_str());
    return MsgButton::No;
  }
  void SetPanel(int, const std::string&) override {}
  void SelectRow(int) override {}
  void SetBusy(bool) override {}
  void SetCountCommand(const std::string&, const std::string&) override {}
  void OpenFile(const std::string&) override {}

 private:
  std::FILE* err_;
};

}  // namespace

StartupList LoadStoredList(const DataFiles& files, RecycleBinCheck& bins, std::FILE* err) {
  ErrorPort port(err);
  return LoadStartupList(port, files, bins, SystemDefaultFolders(), {.offerRecovery = false, .keepBadAside = false, .refuseUnreadable = false});
}

}  // namespace vorlo::cli
