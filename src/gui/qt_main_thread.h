// The main-thread executor of the program: tasks posted from the scan
// thread run in the Qt event loop.
#pragma once

#include <QObject>

#include "core/main_thread.h"

namespace vorlo {

class QtMainThread final : public MainThreadExecutor {
 public:
  explicit QtMainThread(QObject* receiver) : receiver_(receiver) {}
  void Post(std::function<void()> task) override {
    QMetaObject::invokeMethod(receiver_, std::move(task), Qt::QueuedConnection);
  }

 private:
  QObject* receiver_;
};

}  // namespace vorlo
