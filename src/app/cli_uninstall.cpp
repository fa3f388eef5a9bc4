#include <ostream>
#include <string>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/errors.h"
#include "core/single_instance.h"
#include "core/startup_settings.h"
#include "journal/store.h"
#include "journal/uninstall.h"
#include "manager/build_catalogue.h"
#include "ui/alias_users.h"

namespace app {

const std::string_view uninstallUsage = "uninstall ID [--dry-run] [--force] [--json]";

namespace {

void printText(const journal::UninstallReport& report, std::ostream& out) {
  const auto& i = report.installation;
  for (const auto& edit : report.edits) printText(edit, out);
  if (i.change == journal::Change::Install)
    out << (report.dryRun ? "would uninstall " : "uninstall ") << i.id << ": " << i.archivePath << '\n';
  else
    out << (report.dryRun ? "would undo " : "undo ") << journal::wordOf(i.change) << " " << i.id << ": "
        << i.description << '\n';
  for (const auto& step : report.steps) {
    const char* what = step.outcome == journal::StepOutcome::LeftAlone       ? "left alone"
                       : step.outcome == journal::StepOutcome::AlreadyUndone ? "nothing to do"
                       : report.dryRun                                       ? "would "
                                                                             : "";
    out << "  ";
    if (step.outcome == journal::StepOutcome::Reversed)
      out << what << step.action;
    else
      out << what;
    out << '\t' << journal::wordOf(step.effect.kind) << '\t' << step.effect.path;
    if (!step.effect.key.empty()) out << " [" << step.effect.section << "] " << step.effect.key;
    if (!step.reason.empty()) out << ": " << step.reason;
    out << '\n';
  }
  out << "state: " << journal::wordOf(report.state) << '\n';
}

void printJson(const journal::UninstallReport& report, std::ostream& out) {
  out << "{\"installation\": " << report.installation.id << ", \"dry_run\": " << (report.dryRun ? "true" : "false")
      << ", \"state\": " << jsonString(journal::wordOf(report.state)) << ",\n \"edits\": [";
  for (std::size_t k = 0; k < report.edits.size(); ++k) {
    out << (k ? ",\n" : "\n");
    printJson(report.edits[k], out);
  }
  out << "],\n \"steps\": [";
  for (std::size_t k = 0; k < report.steps.size(); ++k) {
    const auto& s = report.steps[k];
    out << (k ? ",\n  " : "\n  ") << "{\"seq\": " << s.effect.seq
        << ", \"effect\": " << jsonString(journal::wordOf(s.effect.kind)) << ", \"path\": " << jsonString(s.effect.path)
        << ", \"section\": " << jsonString(s.effect.section) << ", \"key\": " << jsonString(s.effect.key)
        << ", \"action\": " << jsonString(s.action) << ", \"outcome\": " << jsonString(journal::wordOf(s.outcome))
        << ", \"reason\": " << jsonString(s.reason) << "}";
  }
  out << (report.steps.empty() ? "]}\n" : "\n ]}\n");
}

}  // namespace

// Reverses one installation of the journal; status 1 when anything was left
// alone.
int runUninstall(const std::vector<std::string>& args, CliIo& io) {
  bool json = false, dryRun = false, force = false;
  std::optional<std::int64_t> id;
  for (const auto& a : args) {
    if (a == "--json" && !json) {
      json = true;
    } else if (a == "--dry-run" && !dryRun) {
      dryRun = true;
    } else if (a == "--force" && !force) {
      force = true;
    } else if (auto n = installationId(a); n && !id) {
      id = n;
    } else {
      return usageError(io, uninstallUsage,
                        id ? unexpectedWord("uninstall", a) : "uninstall: \"" + a + "\" is no installation ID");
    }
  }
  if (!id) return usageError(io, uninstallUsage, "uninstall: which installation? its ID, as history lists it");
  TerminalDialogs dialogs(io.err, {}, {});
  NullPrinter printer;
  return runGuarded(io, [&] {
    Runtime runtime(io.env, io.executablePath, dialogs, printer);
    core::Context& ctx = runtime.context();
    // The installer must not be writing into the tree meanwhile.
    auto lock = core::GuardSingleInstance(runtime.locations(), dialogs);
    core::LoadSettings(ctx);
    for (const auto& message : journal::recoveryMessages(runtime.tidyAfterEarlierRun(lock != nullptr)))
      io.err << "hangarpak-cli: " << message << '\n';
    const auto opened = journal::openExistingJournal(runtime.locations().appFolder);
    if (!opened)
      throw core::RuntimeError(core::err::FileNotFound, "no installation " + std::to_string(*id) + " in the journal");
    journal::Store& store = *opened;
    // A refused, failed or rolled-back installation left nothing behind.
    if (const auto row = store.installation(*id); row && !journal::uninstallable(*row)) {
      io.err << "hangarpak-cli: installation " << *id << " reads " << journal::standing(*row)
             << ": there is nothing to uninstall\n";
      return ExitProblem;
    }
    // Variants elsewhere that use the installation's panel or sound set
    // through an alias are pointed back at their own first (--force), or
    // the uninstall is refused.
    manager::Catalogue catalogue;
    if (!ctx.state.simFolder.empty()) catalogue = manager::BuildCatalogue(ctx);
    if (const auto users = ui::AliasUsers(catalogue, store.effects(*id)); !users.empty()) {
      const std::string names = ui::NamesOf(users);
      if (!force) {
        io.err << "hangarpak-cli: installation " << *id << " is not uninstalled: " << names
               << " use its panel or sound set through an alias and would point at a folder that is gone; "
                  "--force points them back to their own first\n";
        return ExitProblem;
      }
      if (dryRun) {
        io.out << "would point back to their own: " << names << '\n';
      } else {
        const auto pointed = ui::PointBack(ctx, catalogue, users);
        for (const auto& why : pointed.failed) io.err << "hangarpak-cli: " << why << '\n';
        if (!pointed.failed.empty()) {
          io.err << "hangarpak-cli: installation " << *id << " is not uninstalled\n";
          return ExitProblem;
        }
        for (const auto& why : pointed.kept) io.err << "hangarpak-cli: " << why << '\n';
        io.out << "pointed back to their own: " << names << '\n';
      }
    }
    const auto report = journal::Uninstall(ctx, store, *id, dryRun);
    if (json)
      printJson(report, io.out);
    else
      printText(report, io.out);
    return report.allReversed() ? ExitDone : ExitProblem;
  });
}

}  // namespace app
