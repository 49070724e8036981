// Environment variables changed for one test.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorlo::testing {

// Sets or clears variables for one test and puts the old values back.
class EnvGuard {
 public:
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }
  void Set(const std::string& name, std::optional<std::string> value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace vorlo::testing
