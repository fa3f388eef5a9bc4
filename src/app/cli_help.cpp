#include <ostream>

#include "app/cli_commands.h"

namespace app {

namespace {

// A family's usage joins its forms with " | "; a bar inside brackets
// ("[--yes | --no]") is a choice within one form, not between forms.
std::vector<std::string_view> formsOf(std::string_view usage) {
  std::vector<std::string_view> forms;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < usage.size(); ++i) {
    if (usage[i] == '[') ++depth;
    if (usage[i] == ']' && depth > 0) --depth;
    if (depth == 0 && usage.substr(i, 3) == " | ") {
      forms.push_back(usage.substr(start, i - start));
      start = i + 3;
      i += 2;
    }
  }
  forms.push_back(usage.substr(start));
  return forms;
}

}  // namespace

// One form per line under "Commands:", two blanks in; the bash completion
// reads that block, so its shape is part of the interface.
void printHelp(std::span<const CliCommand> commands, std::ostream& out) {
  out << "Usage: hangarpak-cli COMMAND [ARGUMENTS...]\n"
         "Installs and manages add-ons of FS98, FS2000 and FS2002.\n"
         "\n"
         "Commands:\n";
  for (const auto& command : commands)
    for (const auto form : formsOf(command.usage)) out << "  " << form << '\n';
  out << "\n"
         "Options:\n"
         "  -h, --help     print this help and exit\n"
         "  --version      print the version and exit\n"
         "\n"
         "Exit status: 0 done, 1 the operation failed or found a problem, 2 wrong usage.\n"
         "See hangarpak-cli(1) for the environment and the files it uses.\n";
}

void printVersion(std::string_view program, std::ostream& out) {
  out << program << ' ' << HANGARPAK_VERSION << '\n';
}

}  // namespace app
