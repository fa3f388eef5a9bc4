#include <unistd.h>

#include <climits>
#include <iostream>

#include "app/cli.h"
#include "core/errors.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  char exe[PATH_MAX] = {};
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string exePath = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string(argv[0]);
  try {
    return app::runCli(args, std::cout, std::cerr, core::Environment::fromProcess(), exePath,
                       isatty(STDIN_FILENO) ? &std::cin : nullptr, app::CliEnd::EndProcessAfterReading);
  } catch (const core::EndProgram& end) {
    return end.exitCode;
  }
}
