#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/environment.h"

namespace app {

// The entry of hangarpak-cli: arguments without the program name, two
// output streams, the environment and the executable's path. Returns the
// exit status (0 done, 1 the operation found or left a problem, 2 usage).
// terminal is where questions are asked, nullptr when nobody can answer.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const core::Environment& env,
           const std::string& executablePath, std::istream* terminal = nullptr);

}  // namespace app
