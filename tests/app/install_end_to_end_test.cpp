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

const std::vector<Placed> kAircraft = {
    {"SkyHopper/aircraft.cfg", "[fltsim.0]\r\ntitle=Sky Hopper\r\nsim=hopper\r\nkb_checklists=hopper_check\r\n",
     "Aircraft/sky_hopper/aircraft.cfg"},
    {"SkyHopper/hopper.air", std::string(9000, 'A'), "Aircraft/sky_hopper/hopper.air"},
    {"SkyHopper/model/model.cfg", "[models]\r\nnormal=hopper\r\n", "Aircraft/sky_hopper/Model/model.cfg"},
    {"SkyHopper/model/hopper.mdl", std::string(20000, 'M'), "Aircraft/sky_hopper/Model/hopper.mdl"},
    {"SkyHopper/texture/hopper_t.bmp", std::string(4000, 'T'), "Aircraft/sky_hopper/Texture/hopper_t.bmp"},
    {"SkyHopper/panel/panel.cfg",
     "[Window Titles]\r\nwindow00=Main Panel\r\n\r\n[Window00]\r\nfile=hopper_main.bmp\r\n"
     "gauge00=hopper!Airspeed, 10, 20\r\n",
     "Aircraft/sky_hopper/Panel/panel.cfg"},
    {"SkyHopper/panel/hopper_main.bmp", std::string(3000, 'P'), "Aircraft/sky_hopper/Panel/hopper_main.bmp"},
    {"SkyHopper/panel/hopper.gau", "gauge", "Gauges/hopper.gau"},
    {"SkyHopper/sound/sound.cfg", "[wind_sound]\r\nfilename=hopper_eng\r\n", "Aircraft/sky_hopper/Sound/sound.cfg"},
    {"SkyHopper/sound/hopper_eng.wav", std::string(5000, 'W'), "Aircraft/sky_hopper/Sound/hopper_eng.wav"},
    {"SkyHopper/sound/hopper_click.wav", "click", "Sound/hopper_click.wav"},
    {"SkyHopper/hopper_check.txt", "checklist", "Aircraft/sky_hopper/hopper_check.txt"},
    {"SkyHopper/hopper_notes.txt", "notes", "Aircraft/sky_hopper/hopper_notes.txt"},
    {"SkyHopper/readme.txt", "hopper readme", "Aircraft/sky_hopper/Doc/readme.txt"},
};

const std::vector<Placed> kPanel = {
    {"panel.cfg", "[Window Titles]\r\nwindow00=Glass\r\n\r\n[Window00]\r\nfile=glass_day.bmp\r\n",
     "Aircraft/FSFSConv/panel.glasspanel/panel.cfg"},
    {"glass_day.bmp", std::string(2000, 'G'), "Aircraft/FSFSConv/panel.glasspanel/glass_day.bmp"},
    {"glass.gau", "glass gauge", "Gauges/glass.gau"},
    {"glass.ttf", "font", "<fonts>/glass.ttf"},
    {"readme.txt", "glass readme", "Aircraft/FSFSConv/panel.glasspanel/Doc/readme.txt"},
};

const std::vector<Placed> kSound = {
    {"sound.cfg", "[wind_sound]\r\nfilename=roar_eng\r\n\r\n[starter]\r\nfilename2=roar_start\r\n",
     "Aircraft/FSFSConv/sound.roarsound/sound.cfg"},
    {"roar_eng.wav", std::string(6000, 'R'), "Aircraft/FSFSConv/sound.roarsound/roar_eng.wav"},
    {"roar_start.wav", "start", "Aircraft/FSFSConv/sound.roarsound/roar_start.wav"},
    {"roar_extra.wav", "extra", "Sound/roar_extra.wav"},
    {"readme.txt", "roar readme", "Aircraft/FSFSConv/sound.roarsound/Doc/readme.txt"},
};

// An FS2002 installation as its set-up leaves it, with one stock aircraft,
// the Install Doc option on and the sound set installed once before.
class InstallEndToEnd : public testsupport::SimFixture {
 protected:
  InstallEndToEnd() {
    makeSimulator(80);
    const std::string sim = "C:\\FS2002\\";
    writeFile(sim + "Aircraft\\c172\\aircraft.cfg", "[fltsim.0]\r\ntitle=Cessna Skyhawk 172SP\r\nsim=c172\r\n");
    writeFile(sim + "Aircraft\\c172\\model\\c172.mdl", "stock model");
    writeFile(sim + "Aircraft\\c172\\panel\\panel.cfg", "[Window Titles]\r\nwindow00=Main Panel\r\n");
    writeFile(sim + "Aircraft\\c172\\sound\\sound.cfg", "[wind_sound]\r\nfilename=c172_eng\r\n");
    writeFile(sim + "Aircraft\\c172\\texture\\c172t.bmp", "stock texture");
    writeFile(sim + "Gauges\\Cessna172.gau", "stock gauge");
    writeFile(sim + "Sound\\xtouch.wav", "stock sound");
    writeFile(sim + "Texture\\sky.bmp", "stock sky");
    writeFile(sim + "Scenery\\World\\scenery\\world.bgl", "stock scenery");
    writeFile(sim + "Aircraft\\FSFSConv\\sound.roarsound\\old.wav", "left from before");
    settings->save("Hangarpak", "Main", "FS Path", "C:\\FS2002");
    settings->save("Hangarpak", "Options", "FS Version", "80");
    settings->save("Hangarpak", "Options", "Install Doc", "1");
    settings->save("Hangarpak", "Options", "RunOnce", "1");
    state().optInstallDoc = core::Option::On;

    archives = {put("Sky_Hopper.zip", kAircraft), put("GlassPanel.ZIP", kPanel), put("RoarSound.zip", kSound)};
    before = files();
  }

  std::string put(const std::string& name, const std::vector<Placed>& members) {
    ArchiveBuilder a;
    for (const auto& m : members) a.add(m.member, m.bytes);
    const std::string path = "C:\\Downloads\\" + name;
    a.writeTo(host(path));
    return path;
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
