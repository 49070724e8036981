#include "cli/cli_port.h"

#include <algorithm>

#include "core/text.h"
#include "platform/end_signals.h"

namespace vorlo::cli {

namespace {

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

// "y" or "yes" in any case; anything else, or the end of input, is No.
bool TypedYes(std::FILE* in) {
  char line[64] = {};
  if (std::fgets(line, sizeof line, in) == nullptr) return false;
  std::string answer(line);
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == ' ')) answer.pop_back();
  std::transform(answer.begin(), answer.end(), answer.begin(), [](unsigned char c) { return std::tolower(c); });
  return answer == "y" || answer == "yes";
}

}  // namespace

MsgButton CliPort::Ask(const Message& m) {
  ClearLine();
  std::fprintf(out_, "%s\n", WithoutCarriageReturns(m.text).c_str());
  if (std::find(m.buttons.begin(), m.buttons.end(), MsgButton::Yes) == m.buttons.end()) return MsgButton::Ok;
  if (yes_) return MsgButton::Yes;
  if (prompt_ == nullptr) return MsgButton::No;
  std::fputs("[y/N] ", out_);
  std::fflush(out_);
  // Ctrl+C at the question ends the program: nothing has started.
  const EndSignals::Released interruptible;
  return TypedYes(prompt_) ? MsgButton::Yes : MsgButton::No;
}

void CliPort::SetPanel(int panel, const std::string& text) {
  if (panel != 1 || text.empty()) return;
  ClearLine();
  std::fprintf(err_, "%s\n", text.c_str());
}

void CliPort::OpenFile(const std::string& path) { std::fprintf(out_, "Log: %s\n", ShownName(path).c_str()); }

void CliPort::ReportFailure(const std::string& text) {
  std::string line = WithoutCarriageReturns(text);
  std::replace(line.begin(), line.end(), '\n', ' ');
  ClearLine();
  std::fprintf(err_, "vorlo-cli: %s\n", line.c_str());
}

void CliPort::ClearLine() {
  if (!lineShown) return;
  std::fputs("\r\033[K", err_);
  std::fflush(err_);
  lineShown = false;
}

}  // namespace vorlo::cli
