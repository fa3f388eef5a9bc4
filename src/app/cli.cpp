#include "app/cli.h"

#include <ostream>

namespace app {

namespace {
const char* const kUsage = "usage: hangarpak-cli cfg get FILE SECTION KEY [DEFAULT] | cfg set FILE SECTION KEY VALUE";
}

int runCli(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err,
           const core::Environment& /*env*/, const std::string& /*executablePath*/) {
  if (args.empty()) {
    err << kUsage << '\n';
    return 2;
  }
  err << kUsage << '\n';
  return 2;
}

}  // namespace app
