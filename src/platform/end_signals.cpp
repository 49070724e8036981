#include "platform/end_signals.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdint>

namespace vorlo {

namespace {

sigset_t EndSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, sig);
  return set;
}

}  // namespace

void EndSignals::Hold() {
  const sigset_t set = EndSet();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

EndSignals::Released::Released() {
  const sigset_t set = EndSet();
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

EndSignals::Released::~Released() { Hold(); }

EndSignals::EndSignals(std::function<void(int)> arrived) {
  const sigset_t set = EndSet();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signals_ = ::signalfd(-1, &set, SFD_CLOEXEC);
  wake_ = ::eventfd(0, EFD_CLOEXEC);
  if (signals_ < 0 || wake_ < 0) {
    // Nothing to take them with: they end the program as usual.
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  thread_ = std::thread([this, arrived = std::move(arrived)] {
    for (;;) {
      pollfd fds[2] = {{signals_, POLLIN, 0}, {wake_, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0) continue;
      if (fds[1].revents != 0) return;
      signalfd_siginfo info{};
      if (::read(signals_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        arrived(static_cast<int>(info.ssi_signo));
    }
  });
}

EndSignals::~EndSignals() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    thread_.join();
  }
  for (int fd : {signals_, wake_})
    if (fd >= 0) ::close(fd);
  const sigset_t set = EndSet();
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace vorlo
