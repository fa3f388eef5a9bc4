#include "app/cli.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <system_error>

#include "app/cli_commands.h"
#include "core/errors.h"

namespace app {

namespace {

// What the dispatcher tells a person who typed no command or an unknown one.
std::string shortUsage() {
  std::string names;
  for (const auto& command : cliCommands()) {
    if (command.name == "stand-in") continue;  // the sample's programs run it, not people
    names += names.empty() ? "" : ", ";
    names += command.name;
  }
  return "COMMAND [ARGUMENTS...], COMMAND one of " + names + " (hangarpak-cli help COMMAND explains one)";
}

const CliCommand* findCommand(std::string_view name) {
  for (const auto& command : cliCommands())
    if (command.name == name) return &command;
  return nullptr;
}

// A word in the place of an option that looks like one: "--word" or "-x".
// "-" alone and negative numbers ("-1", a value cfg may write) are words.
bool looksLikeOption(std::string_view word) {
  return word.size() > 1 && word[0] == '-' && (word[1] == '-' || std::isalpha(static_cast<unsigned char>(word[1])));
}

// What the command's words ask of the dispatcher before the command sees
// them: its help, or a usage error for an option it does not know or one
// that lacks its value. The words after "--" are arguments whatever they
// look like.
struct WordCheck {
  bool help = false;
  std::string fault;
};

WordCheck checkWords(const CliCommand& command, const std::vector<std::string>& args) {
  const auto options = optionsOf(command.usage);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--") break;
    if (word == "--help" || word == "-h") return {true, {}};
    if (!looksLikeOption(word)) continue;
    const auto known = std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.first == word; });
    if (known == options.end()) return {false, "unknown option \"" + word + "\""};
    if (known->second && ++i == args.size()) return {false, "the option " + word + " needs a value"};
  }
  return {};
}

}  // namespace

int usageError(CliIo& io, std::string_view usage) {
  io.err << "usage: hangarpak-cli " << usage << '\n';
  return ExitUsage;
}

int usageError(CliIo& io, std::string_view usage, std::string_view fault) {
  io.err << "hangarpak-cli: " << fault << '\n';
  return usageError(io, usage);
}

int runGuarded(CliIo& io, const std::function<int()>& work) {
  try {
    return work();
  } catch (const core::EndProgram& end) {
    return end.exitCode == 0 ? ExitProblem : end.exitCode;
  } catch (const core::RuntimeError& e) {
    io.err << "hangarpak-cli: " << inWords(e) << '\n';
    return ExitProblem;
  }
}

CatalogueArgs catalogueArgs(std::string_view command, const std::vector<std::string>& args) {
  CatalogueArgs out;
  const std::string name(command);
  for (const auto& word : args) {
    if (word == "--json" && !out.json) {
      out.json = true;
    } else if (out.kind.empty() && word != "aircraft" && word != "panels" && word != "sounds") {
      out.fault = name + ": no catalogue \"" + word + "\"; aircraft, panels or sounds";
      return out;
    } else if (out.kind.empty()) {
      out.kind = word;
    } else {
      out.fault = unexpectedWord(command, word);
      return out;
    }
  }
  if (out.kind.empty()) out.fault = name + ": which catalogue? aircraft, panels or sounds";
  return out;
}

std::string unexpectedWord(std::string_view command, std::string_view word) {
  return std::string(command) + ": unexpected \"" + std::string(word) + "\"";
}

bool looksLikeWindowsPath(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

const std::string_view helpUsage = "help [COMMAND]";

int runHelp(const std::vector<std::string>& args, CliIo& io) {
  if (args.size() > 1) return usageError(io, helpUsage);
  if (args.empty()) {
    printHelp(cliCommands(), io.out);
    return ExitDone;
  }
  const CliCommand* command = findCommand(args[0]);
  if (!command) return usageError(io, shortUsage(), "no command \"" + args[0] + "\"");
  printCommandHelp(*command, io.out);
  return ExitDone;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const core::Environment& env,
           const std::string& executablePath, std::istream* terminal, CliEnd end) {
  CliIo io{out, err, env, executablePath, terminal, end};
  if (args.empty()) return usageError(io, shortUsage());
  const std::string& first = args.front();
  if (args.size() == 1 && (first == "--help" || first == "-h")) {
    printHelp(cliCommands(), out);
    return ExitDone;
  }
  if (args.size() == 1 && first == "--version") {
    printVersion("hangarpak-cli", out);
    return ExitDone;
  }
  // The flags stand alone: "--help cfg" is wrong usage rather than an
  // answer to a question that was perhaps not asked.
  if (looksLikeOption(first)) {
    const bool known = first == "--help" || first == "-h" || first == "--version";
    return usageError(io, shortUsage(), known ? first + " stands alone" : "unknown option \"" + first + "\"");
  }
  const CliCommand* command = findCommand(first);
  if (!command) return usageError(io, shortUsage(), "unknown command \"" + first + "\"");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  const WordCheck check = checkWords(*command, rest);
  if (check.help) {
    printCommandHelp(*command, out);
    return ExitDone;
  }
  if (!check.fault.empty()) return usageError(io, command->usage, std::string(command->name) + ": " + check.fault);
  return command->run(rest, io);
}

}  // namespace app
