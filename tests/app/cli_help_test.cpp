#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/cli.h"
#include "app/cli_commands.h"

namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun run(std::vector<std::string> args) {
  std::ostringstream out, err;
  core::Environment env;
  const int status = app::runCli(args, out, err, env, "/nonexistent/hangarpak-cli");
  return {status, out.str(), err.str()};
}

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

TEST(CliHelp, HelpListsEveryFormOnItsOwnLine) {
  for (const std::string flag : {"--help", "-h"}) {
    SCOPED_TRACE(flag);
    const CliRun r = run({flag});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage: hangarpak-cli COMMAND", 0), 0u) << r.out;
    const auto block = commandBlock(r.out);
    EXPECT_NE(std::find(block.begin(), block.end(), "cfg get FILE SECTION KEY [DEFAULT]"), block.end());
    EXPECT_NE(std::find(block.begin(), block.end(), "cfg set FILE SECTION KEY VALUE"), block.end());
    EXPECT_NE(r.out.find("--version"), std::string::npos);
    EXPECT_NE(r.out.find("Exit status: 0 done, 1 "), std::string::npos);
  }
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

TEST(CliHelp, VersionIsOneLineWithTheReleaseNumber) {
  const CliRun r = run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(std::regex_match(r.out, std::regex("hangarpak-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.out;
}

// The flags stand alone; with anything else they are wrong usage, so a
// script that passes "--help" as a file name is not silently answered.
TEST(CliHelp, FlagsWithOtherWordsAreWrongUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--help", "cfg"}, {"--version", "--help"}, {"cfg", "--help"}, {"--verbose"}, {"-v"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0] + (args.size() > 1 ? " " + args[1] : ""));
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("usage: hangarpak-cli ", 0), 0u) << r.err;
  }
}

}  // namespace
