// The message boxes of the windows: each message shown in a QMessageBox of
// its kind with its buttons; Help opens the message's help topic and leaves
// the box open.
#pragma once

#include "app/user_port.h"

class QWidget;

namespace vorlo {

class MessageBoxPort final : public MessagePort {
 public:
  explicit MessageBoxPort(QWidget* parent) : parent_(parent) {}
  MsgButton Ask(const Message& message) override;

 private:
  QWidget* parent_;
};

}  // namespace vorlo
