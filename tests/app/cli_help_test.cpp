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

// --help lists every form on its own line; --version is one line.
TEST(CliHelp, HelpListsEveryFormOnItsOwnLine) {
  for (const std::string flag : {"--help", "-h"}) {
    SCOPED_TRACE(flag);
    const clitest::CliRun r = clitest::runCli({flag});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage: hangarpak-cli COMMAND", 0), 0u) << r.out;
    const auto block = commandBlock(r.out);
    for (const char* form : {"cfg get FILE SECTION KEY [DEFAULT]", "cfg set FILE SECTION KEY VALUE"})
      EXPECT_NE(std::find(block.begin(), block.end(), form), block.end()) << form;
    for (const char* text : {"--version", "Exit status: 0 done, 1 "}) EXPECT_NE(r.out.find(text), std::string::npos);
  }
  const clitest::CliRun r = clitest::runCli({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(std::regex_match(r.out, std::regex("hangarpak-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.out;
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

// Each wrong use gives status 2, nothing on stdout and the usage of the
// command (or of every command) on stderr, after what was wrong when the
// command says. The flags stand alone; with anything else they are wrong
// usage, so a script that passes "--help" as a file name is not silently
// answered.
TEST(CliUsage, WrongArgumentsGiveTheUsageAndStatus2) {
  const std::string all = "usage: hangarpak-cli ";
  const std::string sample = all + "sample DIR ";
  const struct {
    std::vector<std::string> args;
    std::string usage;
  } cases[] = {
      {{}, all},
      {{"nosuchcommand"}, all},
      {{"--help", "cfg"}, all},
      {{"--version", "--help"}, all},
      {{"-v"}, all},
      {{"cfg"}, all},
      {{"cfg", "get", "f", "s"}, all},
      {{"cfg", "set", "f", "s", "k", "v", "extra"}, all},
      {{"cfg", "delete", "f", "s", "k"}, all},
      {{"install"}, all + "install "},
      {{"install", "--yes", "--no", "a.zip"}, all + "install "},
      {{"install", "a.zip", "--name"}, all + "install "},
      {{"install", "--json", "a.zip"}, all + "install "},  // only with --dry-run
      {{"list", "boats"}, all + "list"},
      {{"list", "panels", "--xml"}, all + "list"},
      {{"hide", "A", "B"}, all + "hide"},
      {{"hide", "A", "--folder", "x", "--section", "1"}, all + "hide"},
      {{"unhide", "--folder", "x", "--section", "one"}, all + "unhide"},
      {{"panel", "Skyhawk"}, all + "panel"},
      {{"sound", "a", "b", "c"}, all + "sound"},
      {{"history", "1", "2"}, all + "history"},
      {{"uninstall"}, all + "uninstall"},
      {{"uninstall", "-1"}, all + "uninstall"},
      {{"scan"}, "usage: hangarpak-cli scan aircraft|panels|sounds\n"},
      {{"scan", "panels", "x"}, "usage: hangarpak-cli scan aircraft|panels|sounds\n"},
      {{"where", "--yaml"}, "usage: hangarpak-cli where [--json]\n"},
      {{"sample"}, sample},
      {{"sample", "x", "y"}, sample},
      {{"sample", "x", "--aircraft", "3"}, "hangarpak-cli: the number of aircraft is 4 to 100000\n" + sample},
      {{"sample", "x", "--aircraft", "many"}, sample},
      {{"sample", "x", "--version", "90"}, "hangarpak-cli: the version is 61, 70 or 80, not 90\n" + sample},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const clitest::CliRun r = clitest::runCli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.usage, 0), 0u) << r.err;
    if (c.usage == all) {
      EXPECT_NE(r.err.find("cfg get FILE SECTION KEY [DEFAULT]"), std::string::npos);
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    }
  }
  // The built program exits with the same status.
  const clitest::CliRun program = clitest::runProgram({"cfg", "set", "f"});
  EXPECT_EQ(program.status, 2);
  EXPECT_EQ(program.out, "");
}

}  // namespace
