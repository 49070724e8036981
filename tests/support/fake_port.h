// A scripted user port: records every call and answers questions from a
// queue (Yes/No/Ok), falling back to a default answer.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/user_port.h"

namespace vorlo::testing {

class FakePort final : public UserPort {
 public:
  MsgButton Ask(const Message& m) override {
    messages.push_back(m);
    if (onAsk) onAsk(m);
    if (!answers.empty()) {
      const MsgButton a = answers.front();
      answers.pop_front();
      return a;
    }
    for (MsgButton b : m.buttons)
      if (b == MsgButton::Yes) return defaultYes ? MsgButton::Yes : MsgButton::No;
    return MsgButton::Ok;
  }
  void SetPanel(int panel, const std::string& text) override { panels[panel] = text; }
  void SelectRow(int row) override {
    selected.push_back(row);
    if (onSelectRow) onSelectRow(row);
  }
  void SetBusy(bool b) override { busy.push_back(b); }
  void SetCountCommand(const std::string& caption, const std::string& hint) override {
    countCaption = caption;
    countHint = hint;
  }
  void OpenFile(const std::string& path) override { opened.push_back(path); }
  bool CanReview() const override { return canReview; }
  void OpenReview() override { ++reviews; }

  std::vector<Message> messages;
  std::deque<MsgButton> answers;
  bool defaultYes = false;
  std::function<void(const Message&)> onAsk;
  // A run selects each type's row as the type starts: a place to change
  // the disk between types.
  std::function<void(int)> onSelectRow;
  std::string panels[2];
  std::vector<int> selected;
  std::vector<bool> busy;
  std::string countCaption, countHint;
  std::vector<std::string> opened;
  bool canReview = false;
  int reviews = 0;
};

}  // namespace vorlo::testing
