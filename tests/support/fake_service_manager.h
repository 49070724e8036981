// A user service manager for the schedule's tests: it records every
// systemctl call, keeps whether the timer is enabled, and answers as
// systemctl does, or fails the steps it is told to.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/schedule.h"

namespace vorlo::testing {

class FakeServiceManager final : public ServiceManager {
 public:
  ProgramRun Systemctl(const std::vector<std::string>& args) override {
    std::string call;
    for (const std::string& a : args) call += (call.empty() ? "" : " ") + a;
    calls.push_back(call);
    ProgramRun run;
    run.exitCode = 0;
    if (!missing.empty()) {
      run.exitCode = 1;
      run.err = missing + "\n";
    } else if (failing.contains(args[0])) {
      run.exitCode = 1;
      run.err = "Failed to " + args[0] + ": Access denied\n";
    } else if (args[0] == "enable") {
      enabled = true;
    } else if (args[0] == "disable") {
      enabled = false;
    } else if (args[0] == "show" && args.size() > 2) {
      run.out = std::string("UnitFileState=") + (enabled ? "enabled" : "disabled") +
                "\nNextElapseUSecRealtime=" + next + "\nLastTriggerUSec=" + last + "\n";
    }
    return run;
  }

  // The calls other than the probe for the manager itself.
  std::vector<std::string> Steps() const {
    std::vector<std::string> steps;
    for (const std::string& c : calls)
      if (c != "show --property=Version") steps.push_back(c);
    return steps;
  }

  std::vector<std::string> calls;
  std::string missing;            // set: every call fails with this error line
  std::set<std::string> failing;  // verbs that fail ("enable", "daemon-reload")
  bool enabled = false;
  std::string next = "Mon 2030-01-07 00:03:00 UTC";
  std::string last = "n/a";
};

}  // namespace vorlo::testing
