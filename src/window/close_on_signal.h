// Closes the main window the normal way (placement saved, recovery file
// promoted) when the session ends it with SIGTERM, SIGINT or SIGHUP.
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace vorlo {

class CloseOnSignal final : public QObject {
 public:
  // Call first in main: a signal that comes before the window can close
  // waits instead of ending the program on the spot.
  static void HoldSignals();

  // Installs the handlers and lets held signals in.
  explicit CloseOnSignal(QWidget& window);
  ~CloseOnSignal() override;

 private:
  QWidget& window_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorlo
