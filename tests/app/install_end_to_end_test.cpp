#include "cli_fixture.h"
#include "support/archive_builder.h"
#include "support/tree_snapshot.h"
#include "ui/main_window.h"

namespace {

using testsupport::ArchiveBuilder;
using testsupport::TreeSnapshot;

// One member of an add-on archive and where its bytes must end up: a path
// below the simulator folder, or "<fonts>/" + name.
struct Placed {
  std::string member, bytes, place;
};

// Where each member goes is the installers' to test; here a few of each
// kind, so that every archive of the run is seen to arrive.
const std::vector<Placed> kAircraft = {
    {"SkyHopper/aircraft.cfg", "[fltsim.0]\r\ntitle=Sky Hopper\r\nsim=hopper\r\n", "Aircraft/sky_hopper/aircraft.cfg"},
    {"SkyHopper/hopper.air", std::string(9000, 'A'), "Aircraft/sky_hopper/hopper.air"},
    {"SkyHopper/panel/hopper.gau", "gauge", "Gauges/hopper.gau"},
    {"SkyHopper/readme.txt", "hopper readme", "Aircraft/sky_hopper/Doc/readme.txt"},
};

const std::vector<Placed> kPanel = {
    {"panel.cfg", "[Window Titles]\r\nwindow00=Glass\r\n", "Aircraft/FSFSConv/panel.glasspanel/panel.cfg"},
    {"glass.ttf", "font", "<fonts>/glass.ttf"},
};

const std::vector<Placed> kSound = {
    {"sound.cfg", "[wind_sound]\r\nfilename=roar_eng\r\n", "Aircraft/FSFSConv/sound.roarsound/sound.cfg"},
    {"roar_eng.wav", std::string(6000, 'R'), "Aircraft/FSFSConv/sound.roarsound/roar_eng.wav"},
};

// An FS2002 installation as its set-up leaves it, with one stock aircraft,
// the Install Doc option on and the sound set installed once before.
class InstallEndToEnd : public clitest::CliFixture {
 protected:
  InstallEndToEnd() {
    useSimulator();
    writeFile("C:\\FS2002\\Aircraft\\c172\\aircraft.cfg", "[fltsim.0]\r\ntitle=Cessna Skyhawk 172SP\r\nsim=c172\r\n");
    writeFile("C:\\FS2002\\Gauges\\Cessna172.gau", "stock gauge");
    writeFile("C:\\FS2002\\Aircraft\\FSFSConv\\sound.roarsound\\old.wav", "left from before");
    settings->save("Hangarpak", "Options", "Install Doc", "1");
    settings->save("Hangarpak", "Options", "RunOnce", "1");
    state().optInstallDoc = core::Option::On;
    for (const auto& [name, members] :
         {std::pair{"Sky_Hopper.zip", &kAircraft}, {"GlassPanel.ZIP", &kPanel}, {"RoarSound.zip", &kSound}}) {
      ArchiveBuilder archive;
      for (const auto& m : *members) archive.add(m.member, m.bytes);
      archives.push_back(putArchive(name, archive));
    }
    before = files();
  }

  // The files of the simulator folder and the fonts folder.
  TreeSnapshot files() const {
    TreeSnapshot out;
    for (const auto& [path, bytes] : testsupport::snapshotTree(root + "/c/FS2002"))
      if (bytes != "<folder>") out[path] = bytes;
    for (const auto& [path, bytes] : testsupport::snapshotTree(root + "/data/fonts"))
      if (bytes != "<folder>") out["<fonts>/" + path] = bytes;
    return out;
  }

  TreeSnapshot expected() const {
    TreeSnapshot out = before;
    for (const auto* set : {&kAircraft, &kPanel, &kSound})
      for (const auto& m : *set) out[m.place] = m.bytes;
    return out;
  }

  std::vector<std::string> archives;
  TreeSnapshot before;
};

TEST_F(InstallEndToEnd, ThroughTheInstallTab) {
  ui::MainWindow main(ctx());
  main.installFra.ZipFileDir.setPath("C:\\Downloads");
  ASSERT_EQ(main.installFra.ZipFileLst2.count(), 3);
  for (int i = 0; i < 3; ++i) main.installFra.ZipFileLst2.setSelected(i, true);
  dialogs.expectMessage("Do you want to update roarsound?", "Sound already installed", core::Buttons::YesNo,
                        core::Icon::Question, core::Answer::Yes);
  main.installFra.unzipCmd_Click();

  EXPECT_EQ(main.waitFrm.doneLbl.caption, "3/3 file(s) successfully installed.");
  EXPECT_EQ(testsupport::treeDifferences(expected(), files()), "");
}

TEST_F(InstallEndToEnd, ThroughTheCommandLineTool) {
  // Two archives by host path, one by its Windows path.
  const auto r = clitest::runProgram({"install", "--yes", host(archives[0]), archives[1], host(archives[2])}, &env);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "3/3 file(s) successfully installed.\n");
  EXPECT_EQ(testsupport::treeDifferences(expected(), files()), "");
  EXPECT_FALSE(testsupport::hostExists(root + "/app/TempZip")) << "the tool clears TempZip when it is done";
}

}  // namespace
