#include "app/cli.h"

#include <ostream>

#include "app/cli_commands.h"
#include "core/errors.h"

namespace app {

namespace {

// Every command family, one line each.
const CliCommand kCommands[] = {
    {"cfg", cfgUsage, runCfg},
    {"install", installUsage, runInstall},
    {"scan", scanUsage, runScan},
    {"list", listUsage, runList},
    {"hide", hideUsage, runHide},
    {"unhide", unhideUsage, runUnhide},
    {"panel", panelUsage, runPanel},
    {"sound", soundUsage, runSound},
    {"where", whereUsage, runWhere},
    {"sample", sampleUsage, runSample},
    {"stand-in", standInUsage, runStandIn},
    {"history", historyUsage, runHistory},
    {"uninstall", uninstallUsage, runUninstall},
};

std::string allUsages() {
  std::string text;
  for (const auto& command : kCommands) {
    if (!text.empty()) text += " | ";
    text += command.usage;
  }
  return text;
}

}  // namespace

int usageError(CliIo& io, std::string_view usage) {
  io.err << "usage: hangarpak-cli " << usage << '\n';
  return ExitUsage;
}

int runGuarded(CliIo& io, const std::function<int()>& work) {
  try {
    return work();
  } catch (const core::EndProgram& end) {
    return end.exitCode == 0 ? ExitProblem : end.exitCode;
  } catch (const core::RuntimeError& e) {
    io.err << "hangarpak-cli: " << e.what() << " (error " << e.number() << ")\n";
    return ExitProblem;
  }
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const core::Environment& env,
           const std::string& executablePath, std::istream* terminal) {
  CliIo io{out, err, env, executablePath, terminal};
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    printHelp(kCommands, out);
    return ExitDone;
  }
  if (args.size() == 1 && args[0] == "--version") {
    printVersion("hangarpak-cli", out);
    return ExitDone;
  }
  if (!args.empty()) {
    for (const auto& command : kCommands) {
      if (args.front() == command.name) return command.run({args.begin() + 1, args.end()}, io);
    }
  }
  return usageError(io, allUsages());
}

}  // namespace app
