#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "support/fake_prefix.h"

namespace {

class CliWhereTest : public clitest::CliFixture {
 protected:
  // The stdout of a run, which must succeed.
  std::string where(std::vector<std::string> args) {
    args.insert(args.begin(), "where");
    const auto r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
  std::string stores() const {
    return "settings: " + root + "/config/Hangarpak/settings.ini\nregistry: " + root +
           "/config/hangarpak/registry.ini\napplication folder: " + root + "/app\n";
  }
};

TEST_F(CliWhereTest, NamesTheSimulatorOfAPrefixWithNoSetUp) {
  const std::string prefix = root + "/home/.wine";
  testsupport::makeFakePrefix(prefix, testsupport::simulatorKeyBlock(
                                          "8.0", "EXE Path", "C:\\Program Files\\Microsoft Games\\FS2002", "PID", "1"));
  testsupport::writeHostFile(prefix + "/drive_c/Program Files/Microsoft Games/FS2002/FS2002.EXE", "");
  settings->save("Hangarpak", "Options", "FS Version", "80");
  env.unset("HANGARPAK_DRIVES");
  const std::string real = std::filesystem::canonical(prefix).string();
  EXPECT_EQ(where({}),
            "version: 80\nname: Flight Simulator 2002\nfolder: C:\\Program Files\\Microsoft "
            "Games\\FS2002\nhost folder: " +
                real + "/drive_c/Program Files/Microsoft Games/FS2002\nprefix: " + prefix +
                "\nprefix found by: ~/.wine\ndrive C: " + real + "/drive_c (wine prefix)\ndrive Z: / (wine prefix)\n" +
                stores());
  const std::string json = where({"--json"});
  EXPECT_NE(json.find("\"version\": 80,\n \"name\": \"Flight Simulator 2002\",\n \"folder\": \"C:\\\\Program Files"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"prefixFoundBy\": \"~/.wine\""), std::string::npos);
  EXPECT_NE(json.find("{\"letter\": \"Z\", \"hostFolder\": \"/\", \"source\": \"wine prefix\"}]\n}\n"),
            std::string::npos);
}

TEST_F(CliWhereTest, NamesAManualSettingAndNothingAtAll) {
  EXPECT_EQ(where({}),
            "version: none\nname: none\nfolder: none\nhost folder: none\nprefix: none\nprefix found "
            "by: none\ndrive C: " +
                root + "/c (HANGARPAK_DRIVES)\ndrive Z: " + root + " (HANGARPAK_DRIVES)\n" + stores());
  makeSimulator(70, "Sims\\FS2000");
  settings->save("Hangarpak", "Options", "FS Version", "70");
  settings->save("Hangarpak", "Main", "FS Path", "C:\\Sims\\FS2000");
  const std::string out = where({});
  EXPECT_EQ(
      out.substr(0, out.find("prefix:")),
      "version: 70\nname: Flight Simulator 2000\nfolder: C:\\Sims\\FS2000\nhost folder: " + root + "/c/Sims/FS2000\n");
  EXPECT_NE(where({"--json"}).find("\"prefix\": null"), std::string::npos);
}

}  // namespace
