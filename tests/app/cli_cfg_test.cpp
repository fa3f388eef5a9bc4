#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/cli.h"
#include "support/temp_dir.h"

namespace {

using testsupport::hostExists;
using testsupport::readHostFile;
using testsupport::TempDir;
using testsupport::writeHostFile;

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

TEST(CliCfg, WrongArgumentsGiveOneUsageLineAndStatus2) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"nosuchcommand"},
      {"cfg"},
      {"cfg", "get", "f", "s"},
      {"cfg", "get", "f", "s", "k", "d", "extra"},
      {"cfg", "set", "f", "s", "k"},
      {"cfg", "set", "f", "s", "k", "v", "extra"},
      {"cfg", "delete", "f", "s", "k"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("usage: hangarpak-cli ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("cfg get FILE SECTION KEY [DEFAULT]"), std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  }
}

TEST(CliCfg, GetPrintsTheValueOrTheDefault) {
  TempDir tmp;
  const std::string file = tmp.path() + "/aircraft.cfg";
  writeHostFile(file, "[FLTSIM.0]\r\nTITLE = \"Cessna 182S\"\r\nmodel=\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"cfg", "get", file, "fltsim.0", "title"}, "Cessna 182S\n"},
      {{"cfg", "get", file, "fltsim.0", "model", "Hangarpak"}, "\n"},
      {{"cfg", "get", file, "fltsim.0", "panel", "Hangarpak"}, "Hangarpak\n"},
      {{"cfg", "get", file, "fltsim.1", "title"}, "\n"},
      {{"cfg", "get", tmp.path() + "/missing.cfg", "a", "b", "dflt"}, "dflt\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[3] + "/" + c.args[4]);
    const CliRun r = run(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
  }
  EXPECT_FALSE(hostExists(tmp.path() + "/missing.cfg"));
}

TEST(CliCfg, SetWritesThroughTheProfileWriter) {
  TempDir tmp;
  const std::string file = tmp.path() + "/new.cfg";
  EXPECT_EQ(run({"cfg", "set", file, "fltsim.0", "title", "Café"}).status, 0);
  // UTF-8 on the command line, Windows-1252 on disk.
  EXPECT_EQ(readHostFile(file), "[fltsim.0]\r\ntitle=Caf\xE9\r\n");
  EXPECT_EQ(run({"cfg", "get", file, "FLTSIM.0", "TITLE"}).out, "Café\n");
}

TEST(CliCfg, SetThatCannotWriteSaysSoAndFails) {
  TempDir tmp;
  const CliRun r = run({"cfg", "set", tmp.path() + "/no/such/folder/a.cfg", "s", "k", "v"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos);
  EXPECT_FALSE(hostExists(tmp.path() + "/no"));
}

}  // namespace
