#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/environment.h"

namespace app {

// The entry of hangarpak-cli: arguments without the program name, two
// output streams, the environment and the executable's path. Returns the
// exit status (0 done, 1 the operation found or left a problem, 2 usage).
// terminal is where questions are asked, nullptr when nobody can answer.
// end says whether a command that only reads may end the process itself
// (hangarpak-cli's main), or returns like every other (a caller in the
// same process).
enum class CliEnd : std::uint8_t {
  Return,
  // A command that only read the simulator's folders (list, scan) ends the
  // process once its output is written: nothing of the journal is open
  // then, and the kernel takes back its memory whole, sooner than the
  // catalogue's and the folder cache's blocks are freed one by one.
  EndProcessAfterReading,
};
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const core::Environment& env,
           const std::string& executablePath, std::istream* terminal = nullptr, CliEnd end = CliEnd::Return);

}  // namespace app
