#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/cli_commands.h"
#include "app/cli_plan_output.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/errors.h"
#include "core/single_instance.h"
#include "core/startup_settings.h"
#include "core/temp_folders.h"
#include "install/install_command.h"
#include "journal/store.h"
#include "plan/planner.h"

namespace app {

const std::string_view installUsage =
    "install [--dry-run [--json]] [--yes | --no] [--folder-name NAME] [--name NAME] [--password TEXT] ARCHIVE...";

namespace {

struct InstallArgs {
  PromptAnswers answers;
  std::vector<std::string> archives;
  bool dryRun = false;
  bool json = false;
};

// nullopt for wrong usage.
std::optional<InstallArgs> parse(const std::vector<std::string>& args) {
  InstallArgs out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--yes" || a == "--no") {
      const bool yes = a == "--yes";
      if (out.answers.yes && *out.answers.yes != yes) return std::nullopt;
      out.answers.yes = yes;
    } else if (a == "--folder-name" || a == "--name" || a == "--password") {
      auto v = value();
      if (!v) return std::nullopt;
      (a == "--folder-name" ? out.answers.folderName
       : a == "--name"      ? out.answers.addonName
                            : out.answers.password) = *v;
    } else if (a == "--dry-run" || a == "--json") {
      (a == "--dry-run" ? out.dryRun : out.json) = true;
    } else if (a == "--") {
      out.archives.insert(out.archives.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      return std::nullopt;
    } else {
      out.archives.push_back(a);
    }
  }
  if (out.archives.empty() || (out.json && !out.dryRun)) return std::nullopt;
  return out;
}

// The archive as the program names it: a Windows path stays one; a host path
// (relative to the working folder) is named through the drive table. Throws
// when it names no file the program can reach.
std::string programPath(core::Context& ctx, const std::string& arg) {
  std::error_code ec;
  const std::string host = looksLikeWindowsPath(arg) ? ctx.drives.toHost(arg)
                                                     : std::filesystem::absolute(arg, ec).lexically_normal().string();
  const auto type = std::filesystem::status(host, ec).type();
  if (type == std::filesystem::file_type::not_found)
    throw core::RuntimeError(core::err::FileNotFound, "cannot read " + arg, ENOENT);
  if (type == std::filesystem::file_type::directory)
    throw core::RuntimeError(core::err::PathFileAccess, arg + " is a folder, not an archive");
  if (looksLikeWindowsPath(arg)) return arg;
  if (auto win = ctx.drives.toWindows(host)) return *win;
  throw core::RuntimeError(core::err::DeviceUnavailable, arg + " is on no drive of the drive table");
}

// The archives as the program names them, or nullopt when one of them names
// no file (each such one is reported): then nothing is installed, as a typing
// error in one name should not leave half of a set installed.
std::optional<std::vector<std::string>> programPaths(core::Context& ctx, const std::vector<std::string>& args,
                                                     TypedPaths& typed, std::ostream& err) {
  std::vector<std::string> archives;
  bool allFound = true;
  for (const auto& a : args) {
    try {
      archives.push_back(programPath(ctx, a));
      typed.add(archives.back(), a);
    } catch (const core::RuntimeError& e) {
      err << "hangarpak-cli: " << inWords(e) << '\n';
      allFound = false;
    }
  }
  if (!allFound) return std::nullopt;
  return archives;
}

// Reads one line from the terminal; a secret one without echo.
TerminalAsk terminalAsk(CliIo& io) {
  if (!io.terminal) return {};
  return [&io](std::string_view prompt, bool secret) -> std::optional<std::string> {
    io.err << prompt << std::flush;
    termios saved{};
    const bool hide = secret && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
      termios quiet = saved;
      quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
      ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(*io.terminal, line));
    if (hide) {
      ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
      io.err << '\n';
    }
    if (!got) return std::nullopt;
    return line;
  };
}

// Prints what installing the archives would do and does none of it. The
// questions take the answers of a run without a terminal (or --yes, --no and
// the names given); they are part of the plan, not asked.
// The journal names the installation that put an overwritten file there;
// without a journal (or with one that cannot be read) the plan names none,
// and a plan never makes one.
std::unique_ptr<journal::Store> openJournal(const core::Context& ctx) {
  try {
    return journal::openExistingJournal(ctx.locations.appFolder);
  } catch (const core::RuntimeError&) {
    return nullptr;
  }
}

int planInstall(core::Context& ctx, const std::vector<std::string>& archives, const InstallArgs& args,
                const TypedPaths& typed, CliIo& io) {
  std::ostringstream quiet;
  TerminalDialogs dialogs(quiet, {}, args.answers);
  plan::PlanOptions options;
  options.dialogs = &dialogs;
  options.windows = [&](core::Context& planning) -> std::unique_ptr<core::WindowHost> {
    return std::make_unique<TerminalWindowHost>(planning, quiet, TerminalAsk{}, args.answers);
  };
  const auto journal = openJournal(ctx);
  if (journal) {
    options.originOf = [&](std::string_view path, std::string_view hash) -> std::optional<std::int64_t> {
      try {
        return journal->originOf(path, hash);
      } catch (const core::RuntimeError&) {
        return std::nullopt;
      }
    };
  }
  const plan::InstallPlan plan = plan::PlanInstall(ctx, archives, options);
  if (args.json) {
    printPlanJson(plan, io.out);
  } else {
    std::ostringstream text;
    printPlanText(plan, text);
    io.out << typed.shown(text.str());
  }
  return plan.installedCount == plan.total && !plan.endedProgram ? ExitDone : ExitProblem;
}

}  // namespace

// Installs archives the way the window program's install command does,
// over the same settings, registry and simulator folders, with the questions
// answered from the command line or the terminal.
int runInstall(const std::vector<std::string>& args, CliIo& io) {
  auto parsed = parse(args);
  if (!parsed) return usageError(io, installUsage);
  const TerminalAsk ask = terminalAsk(io);
  TerminalDialogs dialogs(io.err, ask, parsed->answers);
  NullPrinter printer;
  return runGuarded(io, [&] {
    Runtime runtime(io.env, io.executablePath, dialogs, printer);
    core::Context& ctx = runtime.context();
    // One TempZip per application folder: the window program must not be
    // extracting into it at the same time.
    auto lock = core::GuardSingleInstance(runtime.locations(), dialogs);
    core::LoadSettings(ctx);
    // Giving a name on the command line is asking to be asked for it.
    if (parsed->answers.folderName) ctx.state.optFolderName = core::Option::On;
    if (parsed->answers.addonName) ctx.state.optAddonName = core::Option::On;
    TypedPaths typed;
    const auto archives = programPaths(ctx, parsed->archives, typed, io.err);
    if (!archives) {
      io.err << "hangarpak-cli: nothing was installed\n";
      return ExitProblem;
    }
    dialogs.showPathsAsTyped(typed);
    // A plan leaves the simulator's tree as it is, leftovers of a killed
    // run included; only the extraction folder is cleared and used.
    if (parsed->dryRun) {
      if (lock) core::ClearTempZip(ctx);
      return planInstall(ctx, *archives, *parsed, typed, io);
    }
    // A journal that cannot record stops the run before anything changes,
    // unless it is moved aside (--yes, or yes at the terminal).
    const auto journalCheck = runtime.checkJournal();
    if (!journalCheck.said.empty()) io.err << "hangarpak-cli: " << journalCheck.said << '\n';
    if (!journalCheck.usable) return ExitProblem;
    for (const auto& message : journal::recoveryMessages(runtime.tidyAfterEarlierRun(lock != nullptr)))
      io.err << "hangarpak-cli: " << message << '\n';
    TerminalWindowHost windows(ctx, io.err, ask, parsed->answers);
    ctx.setWindowHost(&windows);
    const auto run = install::RunInstallCommand(ctx, *archives);
    for (const auto& note : run.notes) io.err << note << '\n';
    // The summary names each archive not installed as it was typed.
    for (const auto& archive : run.notInstalled)
      io.err << "Not installed: " << typed.shown(archive.archive) << ": " << archive.reason << '\n';
    io.out << install::CounterText(ctx.state.installedCount, run.total) << '\n';
    core::ClearTempZip(ctx);
    ctx.setWindowHost(nullptr);
    return run.allInstalled() ? ExitDone : ExitProblem;
  });
}

}  // namespace app
