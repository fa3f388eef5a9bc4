#include <ostream>

#include "app/cli_commands.h"
#include "core/atomic_file.h"
#include "core/profile.h"

namespace app {

const std::string_view cfgUsage = "cfg get FILE SECTION KEY [DEFAULT] | cfg set FILE SECTION KEY VALUE";

// Reads and writes one key of a configuration file (a host path) the way
// the program itself does, for people who script their simulator's files.
int runCfg(const std::vector<std::string>& args, CliIo& io) {
  if (args.empty()) return usageError(io, cfgUsage);
  const std::string& verb = args[0];
  if (verb == "get" && (args.size() == 4 || args.size() == 5)) {
    io.out << core::readProfileHostFile(args[1], args[2], args[3], args.size() == 5 ? args[4] : "") << '\n';
    return ExitDone;
  }
  if (verb == "set" && args.size() == 5) {
    // What a killed earlier write left beside the file.
    const auto slash = args[1].find_last_of('/');
    core::RemoveAbandonedTemporaries(slash == std::string::npos ? "." : slash == 0 ? "/" : args[1].substr(0, slash));
    if (core::writeProfileHostFile(args[1], args[2], args[3], args[4])) return ExitDone;
    io.err << "hangarpak-cli: cannot write " << args[1] << '\n';
    return ExitProblem;
  }
  return usageError(io, cfgUsage);
}

}  // namespace app
