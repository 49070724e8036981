#include "window/close_on_signal.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace vorlo {

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

sigset_t HandledSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&set, sig);
  return set;
}

}  // namespace

void CloseOnSignal::HoldSignals() {
  const sigset_t set = HandledSignals();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CloseOnSignal::CloseOnSignal(QWidget& window) : window_(window) {
  const sigset_t set = HandledSignals();
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);  // the signals end the program as usual
    return;
  }
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    window_.close();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

CloseOnSignal::~CloseOnSignal() {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::signal(sig, SIG_DFL);
  for (int& fd : signalPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

}  // namespace vorlo
