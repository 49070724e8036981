// The one port through which run control and list commands talk to the
// person: message boxes, status panels, selection, busy pointer, the
// read-only list, the count command's caption and opening a file. The window
// implements it with widgets, vorlo-cli with its options, tests by script.
#pragma once

#include <string>
#include <vector>

namespace vorlo {

enum class MsgKind { Question, Confirmation, Error, Information, Plain };
enum class MsgButton { Ok, Yes, No, Review, Help };

struct Message {
  MsgKind kind = MsgKind::Plain;
  std::string text;
  std::vector<MsgButton> buttons{MsgButton::Ok};
  int helpContext = 0;  // 0: none
};

// Message boxes alone: what a window shows and what tests answer by script.
class MessagePort {
 public:
  virtual ~MessagePort() = default;
  // Shows a message and returns the button that closed it (Ok, Yes, No or
  // Review; Help opens the help topic and does not close the box).
  virtual MsgButton Ask(const Message& message) = 0;
};

class UserPort : public MessagePort {
 public:
  virtual void SetPanel(int panel, const std::string& text) = 0;
  virtual void SelectRow(int row) = 0;
  virtual void SetBusy(bool busy) = 0;  // busy-in-background pointer, read-only list
  virtual void SetCountCommand(const std::string& caption, const std::string& hint) = 0;
  virtual void OpenFile(const std::string& path) = 0;  // with its associated program
  // A failure that prevents or ends a run: an error box in the window, one
  // line on the error output of vorlo-cli.
  virtual void ReportFailure(const std::string& text) { Ask({MsgKind::Error, text, {MsgButton::Ok}, 0}); }
  // Whether this port can show the review of an analysis's kept results,
  // and showing it (once the message that offered it is closed).
  virtual bool CanReview() const { return false; }
  virtual void OpenReview() {}
};

}  // namespace vorlo
