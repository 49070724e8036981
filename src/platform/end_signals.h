// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP), taken as
// requests: blocked from the start of main, so that one that comes before
// the program can act on it waits instead of ending it on the spot, and
// then handed one by one to the program's own handler on a thread of their
// own. The window closes the normal way on them (placement saved, list
// kept), vorlo-cli stops its run as the stop command does.
#pragma once

#include <functional>
#include <thread>

namespace vorlo {

class EndSignals {
 public:
  // Call first in main, before any other thread starts: threads started
  // later keep the signals blocked too.
  static void Hold();

  // While one lives, the signals end the program again on this thread (for
  // a question typed on the terminal, when nothing is under way yet).
  class Released {
   public:
    Released();
    ~Released();
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
  };

  // From now on each signal that arrives runs `arrived` on this object's
  // thread; it must only hand the request on (post it to the main thread).
  explicit EndSignals(std::function<void(int signal)> arrived);
  // Stops taking them and lets them end the program again.
  ~EndSignals();
  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;

 private:
  int signals_ = -1;  // signalfd
  int wake_ = -1;     // eventfd that ends the thread
  std::thread thread_;
};

}  // namespace vorlo
