#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "app/cli_commands.h"
#include "cli_fixture.h"

namespace {

// The lines of the "Commands:" block, without their indent: what the bash
// completion reads.
std::vector<std::string> commandBlock(const std::string& help) {
  std::vector<std::string> lines;
  std::istringstream in(help);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line == "Commands:") {
      inside = true;
    } else if (inside && line.empty()) {
      break;
    } else if (inside) {
      EXPECT_EQ(line.rfind("  ", 0), 0u) << line;
      lines.push_back(line.substr(2));
    }
  }
  return lines;
}

// --help lists every form on its own line, and -h and help say the same;
// --version is one line.
TEST(CliHelp, HelpListsEveryFormOnItsOwnLine) {
  const clitest::CliRun r = clitest::runCli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  for (const std::string same : {"-h", "help"}) EXPECT_EQ(clitest::runCli({same}).out, r.out) << same;
  EXPECT_EQ(r.out.rfind("Usage: hangarpak-cli COMMAND", 0), 0u) << r.out;
  const auto block = commandBlock(r.out);
  for (const char* form : {"cfg get FILE SECTION KEY [DEFAULT] [--json]", "cfg set FILE SECTION KEY VALUE"})
    EXPECT_NE(std::find(block.begin(), block.end(), form), block.end()) << form;
  for (const char* text : {"--version", "Exit status: 0 done, 1 "}) EXPECT_NE(r.out.find(text), std::string::npos);
  const clitest::CliRun version = clitest::runCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("hangarpak-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}

// A bar inside brackets chooses between options of one form; a bar outside
// them separates two forms.
TEST(CliHelp, FormsSplitAtBarsOutsideBrackets) {
  const app::CliCommand commands[] = {
      {"install", "install [--yes | --no] [--name NAME] ARCHIVE...", nullptr},
      {"hide", "hide TITLE | hide --folder FOLDER --section N", nullptr},
      {"list", "list aircraft|panels|sounds [--json]", nullptr},
      {"odd", "odd [a [b | c] | d] | odd e", nullptr},
  };
  std::ostringstream out;
  app::printHelp(commands, out);
  EXPECT_EQ(commandBlock(out.str()), (std::vector<std::string>{
                                         "install [--yes | --no] [--name NAME] ARCHIVE...",
                                         "hide TITLE",
                                         "hide --folder FOLDER --section N",
                                         "list aircraft|panels|sounds [--json]",
                                         "odd [a [b | c] | d]",
                                         "odd e",
                                     }));
}

// The option grammar the dispatcher and the completion read from a usage.
TEST(CliHelp, OptionsTakeTheNextWordOfTheirFormAsValue) {
  using Options = std::vector<std::pair<std::string, bool>>;
  EXPECT_EQ(app::optionsOf("install [--dry-run [--json]] [--yes | --no] [--name NAME] ARCHIVE..."),
            (Options{{"--dry-run", false}, {"--json", false}, {"--yes", false}, {"--no", false}, {"--name", true}}));
  EXPECT_EQ(app::optionsOf("sample DIR [--version 61|70|80] [--register]"),
            (Options{{"--version", true}, {"--register", false}}));
  EXPECT_EQ(app::optionsOf("hide TITLE | hide --folder FOLDER --section N | list [--json]"),
            (Options{{"--folder", true}, {"--section", true}, {"--json", false}}));
  // An option right before another takes no value, and an option named again
  // in a later form keeps what its first naming said.
  EXPECT_EQ(app::optionsOf("scan --all --json | scan --all FOLDER"), (Options{{"--all", false}, {"--json", false}}));
}

// "help COMMAND", "COMMAND --help" and "COMMAND -h" print the same help:
// every form of the command, and a line for every option its forms name,
// within 79 columns.
TEST(CliHelp, EveryCommandExplainsItsFormsAndOptions) {
  for (const auto& command : app::cliCommands()) {
    const std::string name(command.name);
    SCOPED_TRACE(name);
    const clitest::CliRun help = clitest::runCli({"help", name});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const auto& args : {std::vector<std::string>{name, "--help"}, {name, "-h"}}) {
      const clitest::CliRun r = clitest::runCli(args);
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.out, help.out);
    }
    // The usage block holds the forms one a line, a long one broken over
    // lines indented further.
    const std::string block = help.out.substr(0, help.out.find("\n\n"));
    std::string forms;
    for (const auto form : app::formsOf(command.usage))
      forms += (forms.empty() ? "Usage: " : "\n       ") + ("hangarpak-cli " + std::string(form));
    EXPECT_EQ(std::regex_replace(block, std::regex("\n {8,}"), " "), forms);
    std::istringstream lines(help.out);
    std::vector<std::string> optionLines;
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), 79u) << line;
      if (line.rfind("  -", 0) == 0) optionLines.push_back(line);
    }
    for (const auto& [option, takesValue] : app::optionsOf(command.usage)) {
      const std::regex described("  (.*, )?" + option + (takesValue ? " [^ ,]+" : "") + "(,| |$).*");
      EXPECT_TRUE(std::any_of(optionLines.begin(), optionLines.end(),
                              [&](const std::string& line) { return std::regex_match(line, described); }))
          << option << " is not explained in\n"
          << help.out;
    }
    EXPECT_EQ(optionLines.back().rfind("  -h, --help", 0), 0u);
  }
}

// Each wrong use gives status 2, nothing on stdout, and on stderr a line
// naming what was wrong (when the dispatcher or the command can tell) and
// then the usage: the command's, or the short one that names the commands.
// "--help" and "--version" stand alone at the front; after a command,
// "--help" asks for its help unless it is an option's value or follows
// "--".
TEST(CliUsage, WrongArgumentsGiveTheUsageAndStatus2) {
  // fault: the first line after "hangarpak-cli: ", "" when there is none;
  // usage: how the usage line goes on after "usage: hangarpak-cli ".
  const std::string all = "COMMAND [ARGUMENTS...], COMMAND one of cfg, install, ";
  const struct {
    std::vector<std::string> args;
    std::string fault, usage;
  } cases[] = {
      {{}, "", all},
      {{"nosuchcommand"}, "unknown command \"nosuchcommand\"", all},
      {{"-v"}, "unknown option \"-v\"", all},
      {{"--help", "cfg"}, "--help stands alone", all},
      {{"--version", "--help"}, "--version stands alone", all},
      {{"help", "nosuch"}, "no command \"nosuch\"", all},
      {{"help", "cfg", "get"}, "", "help [COMMAND]\n"},
      {{"cfg"}, "cfg: get or set?", "cfg get "},
      {{"cfg", "get", "f", "s"}, "cfg get: FILE, SECTION and KEY, and perhaps DEFAULT", "cfg get "},
      {{"cfg", "set", "f", "s", "k", "v", "extra"}, "cfg set: FILE, SECTION, KEY and VALUE", "cfg get "},
      {{"cfg", "set", "--json", "f", "s", "k", "v"}, "cfg set: --json goes with get only", "cfg get "},
      {{"cfg", "delete", "f", "s", "k"}, "cfg: no action \"delete\"; get or set", "cfg get "},
      {{"install"}, "", "install "},
      {{"install", "--frob", "a.zip"}, "install: unknown option \"--frob\"", "install "},
      {{"install", "a.zip", "-x"}, "install: unknown option \"-x\"", "install "},
      {{"install", "--yes", "--no", "a.zip"}, "", "install "},
      {{"install", "a.zip", "--name"}, "install: the option --name needs a value", "install "},
      {{"install", "--password", "--help"}, "", "install "},  // the password "--help", and no archive
      {{"install", "--json", "a.zip"}, "", "install "},       // only with --dry-run
      {{"list", "boats"}, "list: no catalogue \"boats\"; aircraft, panels or sounds", "list"},
      {{"list", "--json", "--json"}, "list: no catalogue \"--json\"; aircraft, panels or sounds", "list"},
      {{"hide", "A", "B"}, "", "hide"},
      {{"hide", "A", "--folder", "x", "--section", "1"}, "", "hide"},
      {{"unhide", "--folder", "x", "--section", "one"}, "", "unhide"},
      {{"panel", "Skyhawk"}, "", "panel"},
      {{"sound", "a", "b", "c"}, "", "sound"},
      {{"history", "1", "2"}, "history: unexpected \"2\"", "history"},
      {{"uninstall"}, "uninstall: which installation? its ID, as history lists it", "uninstall"},
      {{"uninstall", "-1"}, "uninstall: \"-1\" is no installation ID", "uninstall"},
      {{"scan"}, "scan: which catalogue? aircraft, panels or sounds", "scan "},
      {{"scan", "panels", "x"}, "scan: unexpected \"x\"", "scan "},
      {{"where", "now"}, "where: unexpected \"now\"", "where [--json]\n"},
      {{"sample"}, "", "sample DIR "},
      {{"sample", "x", "y"}, "", "sample DIR "},
      {{"sample", "x", "--aircraft", "3"}, "the number of aircraft is 4 to 100000", "sample DIR "},
      {{"sample", "x", "--aircraft", "many"}, "", "sample DIR "},
      {{"sample", "x", "--version", "90"}, "the version is 61, 70 or 80, not 90", "sample DIR "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const clitest::CliRun r = clitest::runCli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    const std::string usage = "usage: hangarpak-cli " + c.usage;
    EXPECT_EQ(r.err.rfind(c.fault.empty() ? usage : "hangarpak-cli: " + c.fault + "\n" + usage, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.fault.empty() ? 1 : 2) << r.err;
  }
  // The built program exits with the same status.
  const clitest::CliRun program = clitest::runProgram({"cfg", "set", "f"});
  EXPECT_EQ(program.status, 2);
  EXPECT_EQ(program.out, "");
}

}  // namespace
