#include "sample/sample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli_fixture.h"
#include "core/simulator.h"
#include "core/text.h"
#include "manager/build_catalogue.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "scan/scan_panels.h"
#include "scan/scan_sounds.h"
#include "support/built_paths.h"
#include "support/sim_fixture.h"
#include "support/standins.h"

namespace {

using sample::DownloadKind;

struct SampleCase {
  int version;
  int aircraft;
};

// The sample written on drive C: with its stand-ins run by the built
// hangarpak-cli, for each version and with generated aircraft besides.
class SampleTest : public testsupport::SimFixture, public ::testing::WithParamInterface<SampleCase> {
 protected:
  SampleTest() {
    contents = sample::writeSample(root + "/c", {version(), GetParam().aircraft, testsupport::cliProgram()});
    settings->save("Hangarpak", "Options", "FS Version", std::to_string(version()));
  }
  int version() const { return GetParam().version; }
  std::string simFolder() const { return "C:\\" + contents.simName; }

  clitest::CliRun cli(const std::vector<std::string>& args) {
    return clitest::runCli(args, env, testsupport::cliProgram());
  }

  // The "Missing file: " lines of a report, lower case, sorted.
  static std::vector<std::string> missing(const std::string& report) {
    std::vector<std::string> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind("Missing file: ", 0) == 0) lines.push_back(core::lower(line.substr(14)));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  std::vector<std::string> expected(const std::vector<std::string>& relative) const {
    std::vector<std::string> lines;
    for (const auto& r : relative) lines.push_back(core::lower(simFolder() + "\\" + r));
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  sample::Contents contents;
};

// What installing one archive of Downloads must give: installed or not, and
// a text of the message it shows ("" for none).
struct Outcome {
  bool installed;
  std::string message;
};

Outcome outcome(DownloadKind kind, int version) {
  switch (kind) {
    case DownloadKind::OldAdventure:
      if (version == 80) return {false, "ferry_flight_old.zip: its adventures are made for an earlier version"};
      return {true, "The adventure is made for an earlier FS version."};
    case DownloadKind::Fs5Aircraft:
      if (version == 80) return {false, "does not support FS5.x aicraft installation for FS2002!"};
      return {true, "The aircraft is made for FS5.x."};
    case DownloadKind::SifPackage:
      if (version == 61) return {false, "You cannot install SIF files to FS98!"};
      return {true, ""};
    case DownloadKind::Scenery:
      return {false, "The scenery installation part of Hangarpak 2000 has been removed."};
    case DownloadKind::MultiAircraft:
      return {false, "Hangarpak does NOT support ''muti-aircraft'' package."};
    case DownloadKind::NothingInstallable:
      return {false, "The ZIP file does NOT contain any FS98/2000/2002 files."};
    default:
      return {true, ""};
  }
}

// Registered by hangarpak-cli, detection finds the sample without a
// question; the catalogue and the scans find what the sample says; every
// download installs or is refused with its message.
TEST_P(SampleTest, IsFoundScannedAndInstalledAsItSays) {
  ASSERT_EQ(cli({"sample", root + "/c", "--version", std::to_string(version()), "--register"}).status, 0);
  state().simVersion = static_cast<std::int16_t>(version());
  state().simFolder.clear();
  core::FindSimulator(ctx());  // any question would fail the test
  EXPECT_EQ(state().simFolder, simFolder());

  const manager::Catalogue catalogue = manager::BuildCatalogue(ctx());
  const auto& variants = catalogue.variants();
  EXPECT_EQ(static_cast<int>(variants.size()), contents.variants);
  EXPECT_EQ(std::ranges::count_if(variants, [](const auto& v) { return v.hidden; }), contents.hidden);
  EXPECT_EQ(static_cast<int>(catalogue.panels().size()), contents.panels);
  EXPECT_EQ(static_cast<int>(catalogue.sounds().size()), contents.sounds);
  // Every variant's panel and sound set is one the catalogue lists, the
  // alias folder's one included.
  for (const auto& v : variants) {
    EXPECT_TRUE(catalogue.usedEntry(v, manager::EntryKind::Panel)) << v.title;
    EXPECT_TRUE(catalogue.usedEntry(v, manager::EntryKind::Sound)) << v.title;
  }

  std::string report;
  int found = 0;
  scan::ReportBox box(report, found);
  scan::ScanAircraft(ctx(), variants, box);
  EXPECT_EQ(missing(report), expected(contents.missingAircraftFiles));
  scan::ScanPanels(ctx(), catalogue.panels(), box);
  EXPECT_EQ(missing(report), expected(contents.missingPanelFiles));
  scan::ScanSounds(ctx(), catalogue.sounds(), box);
  EXPECT_EQ(missing(report), expected(contents.missingSoundFiles));

  ASSERT_EQ(contents.downloadFiles.size(), 12u);
  for (const auto& download : contents.downloadFiles) {
    SCOPED_TRACE(download.file);
    const Outcome want = outcome(download.kind, version());
    const auto r = cli({"install", "--yes", "C:\\Downloads\\" + download.file});
    EXPECT_EQ(r.status, want.installed ? 0 : 1) << r.err;
    EXPECT_EQ(r.out, std::string(want.installed ? "1" : "0") + "/1 file(s) successfully installed.\n");
    EXPECT_EQ(r.err.empty(), want.message.empty()) << r.err;
    EXPECT_NE(r.err.find(want.message), std::string::npos) << r.err;
  }
  // The stand-ins did the work the counts rely on.
  const std::string converter = version() == 61 ? "aafconv98" : "aafconv";
  EXPECT_EQ(testsupport::converterRuns(host(simFolder()), converter).size(), version() == 80 ? 0u : 2u);
  EXPECT_EQ(testsupport::sceneryRuns(host("C:\\Program Files\\Ortholay")).size(), version() == 61 ? 0u : 1u);
  EXPECT_TRUE(exists(simFolder() + "\\Aircraft\\swift_sport\\panel\\swift_panel.bmp"));
  EXPECT_TRUE(exists(simFolder() + "\\Aircraft\\FSFSConv\\panel.moonlight_bundle\\panel.cfg"));
  // What the archives installed misses nothing: the scans find the sample's
  // own gaps only, and the bare aircraft the stand-in converter makes.
  for (const auto& [kind, files] :
       {std::pair{"aircraft", contents.missingAircraftFiles}, std::pair{"panels", contents.missingPanelFiles}}) {
    auto listed = missing(cli({"scan", kind}).out);
    std::erase_if(listed,
                  [](const std::string& line) { return line.find("\\aircraft\\biplane\\") != std::string::npos; });
    EXPECT_EQ(listed, expected(files)) << kind;
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, SampleTest,
                         ::testing::Values(SampleCase{61, sample::HandMadeAircraft},
                                           SampleCase{70, sample::HandMadeAircraft},
                                           SampleCase{80, sample::HandMadeAircraft}, SampleCase{80, 12}),
                         [](const auto& test) {
                           return "FS" + std::to_string(test.param.version) + "_" +
                                  std::to_string(test.param.aircraft) + "aircraft";
                         });

}  // namespace
