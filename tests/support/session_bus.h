// A private session bus for one test: a dbus-daemon of the test's own on a
// socket in a temporary folder, with no services to start, so that no test
// reaches the desktop's real session bus. It ends with the test.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace vorlo::testing {

class PrivateSessionBus {
 public:
  PrivateSessionBus() {
    address_ = "unix:path=" + dir_ / "bus";
    const std::string config = dir_.Write("bus.conf",
                                          "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                                          " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                          "<busconfig>\n"
                                          "  <type>session</type>\n"
                                          "  <listen>" + address_ + "</listen>\n"
                                          "  <auth>EXTERNAL</auth>\n"
                                          "  <policy context=\"default\">\n"
                                          "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                                          "    <allow eavesdrop=\"true\"/>\n"
                                          "    <allow own=\"*\"/>\n"
                                          "  </policy>\n"
                                          "</busconfig>\n");
    const std::string configArg = "--config-file=" + config;
    char* argv[] = {const_cast<char*>("dbus-daemon"), const_cast<char*>(configArg.c_str()),
                    const_cast<char*>("--nofork"), const_cast<char*>("--nopidfile"), nullptr};
    // Its warnings (it may not raise its descriptor limit) are not the test's.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawnp(&pid_, "dbus-daemon", &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
      pid_ = -1;
      return;
    }
    // Ready when a client gets through (at most about ten seconds).
    for (int i = 0; i < 500 && !ready_; ++i) {
      sd_bus* bus = Connect();
      ready_ = bus != nullptr;
      sd_bus_flush_close_unref(bus);
      if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~PrivateSessionBus() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  bool Ready() const { return ready_; }
  const std::string& Address() const { return address_; }

  // A new client connection to this bus; null when it cannot be made.
  sd_bus* Connect() const {
    sd_bus* bus = nullptr;
    if (sd_bus_new(&bus) < 0) return nullptr;
    if (sd_bus_set_address(bus, address_.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
      sd_bus_flush_close_unref(bus);
      return nullptr;
    }
    return bus;
  }

 private:
  TempDir dir_;
  std::string address_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace vorlo::testing
