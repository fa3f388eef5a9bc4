#include <unistd.h>

#include <climits>
#include <iostream>

#include "app/cli.h"
#include "app/cli_output_buffer.h"
#include "app/time_zone.h"
#include "core/errors.h"

int main(int argc, char** argv) {
  const bool zoneNamed = app::NameTimeZoneFile();
  core::Environment env = core::Environment::fromProcess();
  if (zoneNamed) env.unset("TZ");
  std::vector<std::string> args(argv + 1, argv + argc);
  char exe[PATH_MAX] = {};
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string exePath = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string(argv[0]);
  // stdout through a buffer that knows why a write failed, so that output
  // lost to a full disk or a closed pipe is never a status 0.
  app::DescriptorOutput stdoutBuffer(STDOUT_FILENO);
  std::ostream out(&stdoutBuffer);
  int status = 0;
  try {
    status = app::runCli(args, out, std::cerr, env, exePath, isatty(STDIN_FILENO) ? &std::cin : nullptr,
                         app::CliEnd::EndProcessAfterReading);
  } catch (const core::EndProgram& end) {
    status = end.exitCode;
  }
  return app::statusAfterOutput(out, stdoutBuffer, std::cerr, status);
}
