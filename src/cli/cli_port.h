// vorlo-cli's user port: messages go to the output as text, failures to the
// error stream as one line; questions take the --yes answer, or with
// `prompt` the one typed on the terminal.
#pragma once

#include <cstdio>
#include <string>

#include "app/user_port.h"

namespace vorlo::cli {

class CliPort final : public UserPort {
 public:
  CliPort(std::FILE* out, std::FILE* err, bool yes, std::FILE* prompt = nullptr)
      : out_(out), err_(err), yes_(yes), prompt_(prompt) {}

  MsgButton Ask(const Message& m) override;
  void SetPanel(int panel, const std::string& text) override;
  void SelectRow(int) override {}
  void SetBusy(bool) override {}
  void SetCountCommand(const std::string&, const std::string&) override {}
  void OpenFile(const std::string& path) override;
  void ReportFailure(const std::string& text) override;

  // A progress line is on the terminal; other text first erases it.
  bool lineShown = false;
  void ClearLine();

 private:
  std::FILE* out_;
  std::FILE* err_;
  bool yes_;
  std::FILE* prompt_;  // where typed answers come from, or none
};

}  // namespace vorlo::cli
