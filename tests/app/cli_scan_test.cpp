#include <gtest/gtest.h>

#include <sstream>

#include "app/cli.h"
#include "core/settings.h"
#include "support/sim_fixture.h"

namespace {

// hangarpak-cli scan over a simulator the settings name, run in-process.
class CliScanTest : public testsupport::SimFixture {
 protected:
  CliScanTest() {
    makeSimulator(80, "FS2002");
    settings->save("Hangarpak", "Main", "FS Path", "C:\\FS2002");
    settings->save("Hangarpak", "Options", "FS Version", "80");
    writeFile(kC172 + "aircraft.cfg", "[fltsim.0]\r\ntitle=Skyhawk\r\nsim=c172\r\n");
    writeFile(kC172 + "c172.air");
    writeFile(kC172 + "model\\model.cfg", "[models]\r\nnormal=c172\r\n");
    writeFile(kC172 + "model\\c172.mdl");
    writeFile(kC172 + "texture\\t.bmp");
    writeFile(kC172 + "panel\\panel.cfg", "[Window00]\r\nfile=day.bmp\r\ngauge00=Cessna!Clock, 1, 2\r\n");
    writeFile(kC172 + "panel\\day.bmp");
    writeFile(kC172 + "sound\\sound.cfg", "[ENGINE]\r\nfilename=engine\r\n");
  }

  struct Run {
    int status;
    std::string out;
    std::string err;
  };
  Run run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = app::runCli(args, out, err, env, root + "/bin/hangarpak-cli");
    return {status, out.str(), err.str()};
  }

  const std::string kC172 = "C:\\FS2002\\Aircraft\\C172\\";
};

TEST_F(CliScanTest, PrintsTheReportWithNewlinesAndFailsWhenSomethingIsMissing) {
  Run r = run({"scan", "aircraft"});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ("----- Scanning for missing aircraft files -----\n\n" + kC172 +
                "aircraft.cfg:  (Skyhawk)\nAircraft: OK\n\n" + "----- Scanning done! -----\n",
            r.out);

  r = run({"scan", "panels"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("----- Scanning for missing panel files -----\n\n" + kC172 +
                "panel\\panel.cfg:\nMissing file: C:\\FS2002\\gauges\\Cessna.gau (cab)\n\n" +
                "----- Scanning done! -----\n",
            r.out);

  writeFile("C:\\FS2002\\Sound\\engine.wav");
  r = run({"scan", "sounds"});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_NE(std::string::npos, r.out.find("Sound: OK\n"));
  EXPECT_EQ(std::string::npos, r.out.find('\r'));
}

TEST_F(CliScanTest, RefusesOtherWords) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"scan"}, {"scan", "scenery"}, {"scan", "panels", "x"}}) {
    Run r = run(args);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("usage: hangarpak-cli scan aircraft|panels|sounds\n", r.err);
  }
}

}  // namespace
