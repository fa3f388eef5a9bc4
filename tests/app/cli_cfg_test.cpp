#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "support/temp_dir.h"

namespace {

using clitest::CliRun;
using testsupport::hostExists;
using testsupport::readHostFile;
using testsupport::TempDir;
using testsupport::writeHostFile;

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
    const CliRun r = clitest::runCli(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
  }
  EXPECT_FALSE(hostExists(tmp.path() + "/missing.cfg"));
}

TEST(CliCfg, SetWritesThroughTheProfileWriter) {
  TempDir tmp;
  const std::string file = tmp.path() + "/new.cfg";
  EXPECT_EQ(clitest::runCli({"cfg", "set", file, "fltsim.0", "title", "Café"}).status, 0);
  // UTF-8 on the command line, Windows-1252 on disk.
  EXPECT_EQ(readHostFile(file), "[fltsim.0]\r\ntitle=Caf\xE9\r\n");
  EXPECT_EQ(clitest::runCli({"cfg", "get", file, "FLTSIM.0", "TITLE"}).out, "Café\n");
}

TEST(CliCfg, SetThatCannotWriteSaysSoAndFails) {
  TempDir tmp;
  const CliRun r = clitest::runCli({"cfg", "set", tmp.path() + "/no/such/folder/a.cfg", "s", "k", "v"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos);
  EXPECT_FALSE(hostExists(tmp.path() + "/no"));
}

}  // namespace
