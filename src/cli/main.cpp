// vorlo-cli: the companion command on Vorlo's engine and files.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/end_signals.h"

int main(int argc, char** argv) {
  vorlo::EndSignals::Hold();
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return vorlo::cli::Run(args, stdout, stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorlo-cli: %s\n", e.what());
    return 2;
  }
}
