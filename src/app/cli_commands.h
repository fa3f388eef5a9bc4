#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cli.h"
#include "core/environment.h"
#include "core/errors.h"
#include "core/folder_name_cache.h"

namespace core {
class Context;
class Dialogs;
class RuntimeError;
}  // namespace core
namespace manager {
class Catalogue;
class ParsedAircraftConfigs;
}  // namespace manager

namespace app {

// Exit statuses of hangarpak-cli.
inline constexpr int ExitDone = 0;
inline constexpr int ExitProblem = 1;  // the operation failed or found a problem
inline constexpr int ExitUsage = 2;

// What a command gets besides its own words.
struct CliIo {
  std::ostream& out;
  std::ostream& err;
  const core::Environment& env;
  const std::string& executablePath;
  // The terminal to ask questions on; nullptr when there is none (input
  // redirected, or a test calling in-process).
  std::istream* terminal = nullptr;
  CliEnd end = CliEnd::Return;
};

// An option as a command's help explains it: its form ("--name NAME",
// "--yes, --no") and what it does.
struct CliOption {
  std::string_view form;
  std::string_view text;
};

// One command family of hangarpak-cli: its first word, its usage (without
// the program name; forms joined by " | "), its entry, which gets the words
// after the first one, and its help: what it does and its options.
// cli_command_table.cpp holds the table; each family lives in
// cli_<family>.cpp.
//
// The usage is also the grammar the dispatcher checks options against and
// the bash completion reads: a word starting with "--" is an option, and an
// option takes a value when the next word of the form is neither an option
// nor a bracket or bar ("[--version 61|70|80]", "--folder FOLDER"); an option
// without a value is written in brackets of its own or last.
struct CliCommand {
  std::string_view name;
  std::string_view usage;
  int (*run)(const std::vector<std::string>& args, CliIo& io);
  std::string_view about = {};
  std::vector<CliOption> options = {};
};

// Every command of hangarpak-cli, in the order the help lists them.
std::span<const CliCommand> cliCommands();

// The forms of a usage, split at the bars outside brackets.
std::vector<std::string_view> formsOf(std::string_view usage);

// The options a usage names, each with whether it takes a value.
std::vector<std::pair<std::string, bool>> optionsOf(std::string_view usage);

// A path with a drive letter ("C:\\FS2002", "c:/x") rather than a host path.
bool looksLikeWindowsPath(std::string_view path);

// s as a JSON string, quotes included.
std::string jsonString(std::string_view s);

// Prints "usage: hangarpak-cli " + usage on one line to io.err and returns
// ExitUsage.
int usageError(CliIo& io, std::string_view usage);
// The same after a line that says what was wrong.
int usageError(CliIo& io, std::string_view usage, std::string_view fault);

// The words of scan and list: a catalogue ("aircraft", "panels" or
// "sounds") and perhaps --json, in either order; fault says what is wrong
// with them (the catalogue missing or unknown, a word too many), "" when
// nothing is. command is "scan" or "list".
struct CatalogueArgs {
  std::string kind;
  bool json = false;
  std::string fault;
};
CatalogueArgs catalogueArgs(std::string_view command, const std::vector<std::string>& args);

// The line that names a word a command did not expect.
std::string unexpectedWord(std::string_view command, std::string_view word);

using core::inWords;

// Runs a command's work: the end of the program gives its exit status
// (ExitProblem for a plain end); an error is reported and gives ExitProblem.
int runGuarded(CliIo& io, const std::function<int()>& work);

// Runs work, guarded, on the catalogue of the configured simulator, rebuilt
// as the Aircraft tab does it, with dialogs for the run's messages. Work
// that only reads the simulator's folders gives NameWatch::OwnChangesOnly,
// and parsed, when given, keeps the aircraft.cfg files the walk parsed.
int withCatalogue(CliIo& io, core::Dialogs& dialogs,
                  const std::function<int(core::Context&, manager::Catalogue&)>& work,
                  core::NameWatch watch = core::NameWatch::Kernel, manager::ParsedAircraftConfigs* parsed = nullptr);

// The text of --help: the usage, every form of every family on a line of its
// own, the options and the exit statuses.
void printHelp(std::span<const CliCommand> commands, std::ostream& out);

// The text of "help COMMAND" and "COMMAND --help": the command's forms, what
// it does and its options.
void printCommandHelp(const CliCommand& command, std::ostream& out);

// help [COMMAND]: the overview, or one command's help.
extern const std::string_view helpUsage;
int runHelp(const std::vector<std::string>& args, CliIo& io);

// "<program> <version>" on one line: the version of the build.
void printVersion(std::string_view program, std::ostream& out);

// cfg get FILE SECTION KEY [DEFAULT] | cfg set FILE SECTION KEY VALUE
extern const std::string_view cfgUsage;
int runCfg(const std::vector<std::string>& args, CliIo& io);

// install [--yes | --no] [--folder-name NAME] [--name NAME] [--password TEXT] ARCHIVE...
extern const std::string_view installUsage;
int runInstall(const std::vector<std::string>& args, CliIo& io);

// scan aircraft|panels|sounds: the missing-files report of one catalogue on
// standard output; status 1 when a file is missing.
extern const std::string_view scanUsage;
int runScan(const std::vector<std::string>& args, CliIo& io);

// list aircraft|panels|sounds [--json]: the catalogue, one row per line.
extern const std::string_view listUsage;
int runList(const std::vector<std::string>& args, CliIo& io);

// hide|unhide TITLE | hide|unhide --folder FOLDER --section N
extern const std::string_view hideUsage;
extern const std::string_view unhideUsage;
int runHide(const std::vector<std::string>& args, CliIo& io);
int runUnhide(const std::vector<std::string>& args, CliIo& io);

// panel|sound AIRCRAFT ENTRY: gives the aircraft the entry (by relative
// folder or display name) as the Aircraft tab's choice lists do.
extern const std::string_view panelUsage;
extern const std::string_view soundUsage;
int runPanel(const std::vector<std::string>& args, CliIo& io);
int runSound(const std::vector<std::string>& args, CliIo& io);

// A journal installation's id as typed: digits only; nullopt otherwise.
std::optional<std::int64_t> installationId(const std::string& word);

// history [--json] | history ID [--json]: the install journal's
// installations, or the effects of one.
extern const std::string_view historyUsage;
int runHistory(const std::vector<std::string>& args, CliIo& io);

// uninstall ID [--dry-run] [--force] [--json]: reverses one installation
// of the journal (or an edit); status 1 when something was left alone, or
// when variants elsewhere use its entries through an alias and --force
// does not point them back.
extern const std::string_view uninstallUsage;
int runUninstall(const std::vector<std::string>& args, CliIo& io);

// where [--json]: where the simulator, its Wine prefix, the drives and the
// program's own stores are.
extern const std::string_view whereUsage;
int runWhere(const std::vector<std::string>& args, CliIo& io);

// sample DIR [--version 61|70|80] [--aircraft N] [--register]: writes the
// sample simulator and its Downloads.
extern const std::string_view sampleUsage;
int runSample(const std::vector<std::string>& args, CliIo& io);

// stand-in PROGRAM: what the sample's stand-in programs run on themselves.
extern const std::string_view standInUsage;
int runStandIn(const std::vector<std::string>& args, CliIo& io);

}  // namespace app
