// vorlo-cli: the companion command on Vorlo's engine and files.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return vorlo::cli::Run(args, stdout, stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorlo-cli: %s\n", e.what());
    return 2;
  }
}
