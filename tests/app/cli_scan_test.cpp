#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace {

class CliScanTest : public clitest::CliFixture {
 protected:
  CliScanTest() {
    useSimulator();
    writeFile(kC172 + "aircraft.cfg", "[fltsim.0]\r\ntitle=Skyhawk\r\nsim=c172\r\n");
    writeFile(kC172 + "c172.air");
    writeFile(kC172 + "model\\model.cfg", "[models]\r\nnormal=c172\r\n");
    writeFile(kC172 + "model\\c172.mdl");
    writeFile(kC172 + "texture\\t.bmp");
    writeFile(kC172 + "panel\\panel.cfg", "[Window00]\r\nfile=day.bmp\r\ngauge00=Cessna!Clock, 1, 2\r\n");
    writeFile(kC172 + "panel\\day.bmp");
    writeFile(kC172 + "sound\\sound.cfg", "[ENGINE]\r\nfilename=engine\r\n");
  }

  const std::string kC172 = "C:\\FS2002\\Aircraft\\C172\\";
};

TEST_F(CliScanTest, PrintsTheReportWithNewlinesAndFailsWhenSomethingIsMissing) {
  auto r = run({"scan", "aircraft"});
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
  // The built program, which ends its process once the report is out,
  // prints the same report with the same status.
  const clitest::CliRun program = clitest::runProgram({"scan", "panels"}, &env);
  EXPECT_EQ(program.status, r.status);
  EXPECT_EQ(program.out, r.out);

  // The same findings as JSON, from the scan's typed result.
  r = run({"scan", "--json", "panels"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(R"({"scan": "panels",
 "entries": [
  {"file": "C:\\FS2002\\Aircraft\\C172\\panel\\panel.cfg", "title": null, "problems": [{"kind": "missing", )"
            R"("path": "C:\\FS2002\\gauges\\Cessna.gau", "alternatives": ["C:\\FS2002\\gauges\\Cessna.cab"]}]}
 ],
 "totals": {"entries": 1, "withProblems": 1, "missingFiles": 1}}
)",
            r.out);
  r = run({"scan", "aircraft", "--json"});
  EXPECT_EQ(0, r.status);
  EXPECT_NE(std::string::npos, r.out.find(R"("title": "Skyhawk", "problems": []}
 ],
 "totals": {"entries": 1, "withProblems": 0, "missingFiles": 0}})"))
      << r.out;

  writeFile("C:\\FS2002\\Sound\\engine.wav");
  r = run({"scan", "sounds"});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_NE(std::string::npos, r.out.find("Sound: OK\n"));
  EXPECT_EQ(std::string::npos, r.out.find('\r'));

  // Of two aircraft.cfg in other capitals, the path of the folder and
  // "aircraft.cfg" leads to the first in byte order, for the variants of both.
  writeFile("C:\\FS2002\\Aircraft\\Twin\\upper.air");
  testsupport::writeHostFile(host("C:\\FS2002\\Aircraft\\Twin") + "/AIRCRAFT.CFG",
                             "[fltsim.0]\r\ntitle=Upper\r\nsim=upper\r\n");
  testsupport::writeHostFile(host("C:\\FS2002\\Aircraft\\Twin") + "/Aircraft.cfg",
                             "[fltsim.0]\r\ntitle=Mixed\r\nsim=mixed\r\n");
  r = run({"scan", "aircraft"});
  EXPECT_NE(std::string::npos, r.out.find("(Mixed)")) << r.out;
  EXPECT_EQ(std::string::npos, r.out.find("mixed.air")) << r.out;
}

}  // namespace
