#include <algorithm>
#include <filesystem>
#include <set>

#include "core/context.h"
#include "core/profile.h"
#include "core/text.h"
#include "install/fonts_folder.h"
#include "install/install_archive.h"
#include "install/install_fixture.h"
#include "install/install_folders.h"

namespace installtest {
namespace {

namespace fsys = std::filesystem;
using testsupport::ArchiveBuilder;

class InstallersTest : public InstallFixture {
 protected:
  InstallersTest() { makeSimulator(80); }

  void install(const std::string& name, const ArchiveBuilder& archive) {
    state().currentArchivePath = putArchive(name, archive);
    install::InstallArchive(ctx(), state().currentArchivePath);
  }

  // Where a file of that name (any case) is now, below the simulator folder
  // ("Aircraft/hopper/Model") and in the fonts folder ("<fonts>").
  std::set<std::string> placesOf(const std::string& name) const {
    std::set<std::string> out;
    const std::string sim = host("C:\\FS2002");
    for (auto it = fsys::recursive_directory_iterator(sim); it != fsys::recursive_directory_iterator(); ++it)
      if (it->is_regular_file() && core::iequals(it->path().filename().string(), name))
        out.insert(fsys::relative(it->path().parent_path(), sim).generic_string());
    if (hostExists(root + "/data/fonts/" + name)) out.insert("<fonts>");
    return out;
  }

  struct Row {
    const char* file;
    std::set<std::string> withoutDoc;
    std::set<std::string> withDoc;
  };
  void expectPlaces(const std::vector<Row>& rows, bool doc) {
    for (const auto& r : rows) {
      SCOPED_TRACE(r.file);
      EXPECT_EQ(placesOf(r.file), doc ? r.withDoc : r.withoutDoc);
    }
  }
  bool hostExists(const std::string& p) const { return testsupport::hostExists(p); }
};

ArchiveBuilder fullAircraft() {
  ArchiveBuilder a;
  a.add("Hopper/aircraft.cfg",
        "[fltsim.0]\r\ntitle=Sky Hopper\r\nkb_checklists=Hopper_check\r\nkb_reference=Hopper_ref\r\n")
      .add("Hopper/hopper.air", std::string(800, 'a'))
      .add("Hopper/model/hopper.mdl", "m")
      .add("Hopper/panel/panel.cfg", "[Window Titles]\r\nwindow00=Main\r\n[Window00]\r\nfile_1024=day1024.bmp\r\n")
      .add("Hopper/panel/day1024.bmp", "p")
      .add("Hopper/panel/glass.ttf", "f")
      .add("Hopper/sound/sound.cfg", "[wind_sound]\r\nfilename=engine\r\n")
      .add("Hopper/sound/engine.wav", "w")
      .add("Hopper/sound/extra.wav", "w")
      .add("Hopper/readme.txt", "r")
      .add("Hopper/other.cfg", "o")
      .add("Hopper/picture.jpg", "j")
      .add("Hopper/Hopper_check.txt", "c")
      .add("Hopper/Hopper_ref.txt", "r");
  return a;
}

TEST_F(InstallersTest, AnAircraftArchivePlacesEveryFileByItsRow) {
  const std::string a = "Aircraft/hopper";
  const std::vector<Row> rows = {
      // Named in sound.cfg: moved into the aircraft's sound set only.
      {"engine.wav", {a + "/Sound"}, {a + "/Sound"}},
      // Not named: the simulator's shared sound folder.
      {"extra.wav", {"Sound"}, {"Sound"}},
      // Named in panel.cfg: moved into the panel, not taken for textures.
      {"day1024.bmp", {a + "/Panel"}, {a + "/Panel"}},
      {"glass.ttf", {"<fonts>"}, {"<fonts>", a + "/Doc"}},
      {"readme.txt", {}, {a + "/Doc"}},
      {"other.cfg", {}, {a + "/Doc"}},
      {"picture.jpg", {}, {a + "/Doc"}},
      // Checklist and reference: the aircraft folder itself, never Doc.
      {"Hopper_check.txt", {a}, {a}},
  };
  for (int doc : {0, 1}) {
    SCOPED_TRACE(doc ? "Install Doc on" : "Install Doc off");
    fsys::remove_all(host("C:\\FS2002\\Aircraft\\hopper"));
    fsys::remove_all(root + "/data/fonts");
    fsys::remove_all(host("C:\\FS2002\\Sound"));
    fsys::create_directories(host("C:\\FS2002\\Sound"));
    state().optInstallDoc = static_cast<std::uint8_t>(doc);
    state().installedCount = 0;
    install("Hopper.zip", fullAircraft());
    expectPlaces(rows, doc == 1);
    EXPECT_EQ(state().installedCount, 1);
    // The moved files have left TempZip; placed ones are copies.
    for (const char* gone : {"engine.wav", "day1024.bmp", "panel.cfg", "Hopper_ref.txt"})
      EXPECT_FALSE(hostExists(tempZipHost() + "/" + gone)) << gone;
    EXPECT_TRUE(hostExists(tempZipHost() + "/hopper.mdl"));
  }
}

TEST_F(InstallersTest, WithoutKbChecklistsTheChecklistsFileIsMoved) {
  state().optInstallDoc = 1;
  install("list.zip", ArchiveBuilder()
                          .add("aircraft.cfg", "[fltsim.0]\r\nchecklists=Hopper_list\r\n")
                          .add("list.air", "a")
                          .add("Hopper_list.cfg", "c"));
  EXPECT_EQ(placesOf("Hopper_list.cfg"), (std::set<std::string>{"Aircraft/list"}));
}

// Bitmaps named by any "file" key go to the panel, the rest to Doc; waves
// named by any "filename" key (quoted line, blanks, list) to the sound set.
TEST_F(InstallersTest, PanelAndSoundPackagesGoToTheirStores) {
  const std::string p = "Aircraft/FSFSConv/panel.glass", w = "Aircraft/FSFSConv/sound.roar";
  state().optInstallDoc = 1;
  install("Glass.zip",
          ArchiveBuilder()
              .add("panel.cfg", "[Window00]\r\nfile=day.bmp\r\nFILE_1024=CAPS.BMP\r\ngauge00=glass!dial, 1,2\r\n")
              .add("day.bmp", "d")
              .add("CAPS.BMP", "c")
              .add("night.bmp", "n")
              .add("dial.gau", "g")
              .add("click.wav", "w")
              .add("glass.ttf", "f"));
  install("Roar.zip",
          ArchiveBuilder()
              .add("sound.cfg", "[wind_sound]\r\nfilename= engine \r\n\"filename=prop , 5\"\r\nfilename2=starter\r\n")
              .add("engine.wav", "e")
              .add("prop.wav", "p")
              .add("starter.wav", "s")
              .add("other.wav", "o")
              .add("readme.txt", "r"));
  expectPlaces({{"day.bmp", {}, {p}},
                {"CAPS.BMP", {}, {p}},
                {"night.bmp", {}, {p + "/Doc"}},
                {"dial.gau", {}, {"Gauges"}},
                {"click.wav", {}, {"Sound"}},
                {"glass.ttf", {}, {"<fonts>"}},
                {"engine.wav", {}, {w}},
                {"prop.wav", {}, {w}},
                {"starter.wav", {}, {w}},
                {"other.wav", {}, {"Sound"}},
                {"readme.txt", {}, {w + "/Doc"}}},
               true);
  EXPECT_EQ(state().installedCount, 2);
  EXPECT_FALSE(hostExists(tempZipHost() + "/panel.cfg"));
}

TEST_F(InstallersTest, NamesInConfigurationsCannotReachOutsideTempZip) {
  writeFile("C:\\victim.bmp", "keep me");
  writeFile("C:\\victim.wav", "keep me");
  const std::string up = "..\\..\\c\\victim";
  install("Sly.zip", ArchiveBuilder()
                         .add("panel.cfg", "[Window00]\r\nfile=" + up + ".bmp\r\n")
                         .add("sound.cfg", "[wind_sound]\r\nfilename=" + up + "\r\n")
                         .add("aircraft.cfg", "[fltsim.0]\r\nkb_checklists=" + up + "\r\n")
                         .add("sly.air", "a"));
  EXPECT_EQ(readFile("C:\\victim.bmp"), "keep me");
  EXPECT_EQ(readFile("C:\\victim.wav"), "keep me");
  EXPECT_EQ(placesOf("victim.bmp"), std::set<std::string>{});
}

TEST_F(InstallersTest, TheAircraftNamePromptNamesAircraftPanelAndSound) {
  state().optAddonName = 1;
  windows.answerPrompt("My Hopper");
  install("Hopper.zip", fullAircraft());
  ASSERT_EQ(windows.prompts.size(), 1u);
  EXPECT_EQ(std::to_string(windows.prompts[0].mode) + windows.prompts[0].proposal, "2Sky Hopper");
  const std::string a = "C:\\FS2002\\Aircraft\\hopper\\";
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "aircraft.cfg", "fltsim.0", "title", ""), "My Hopper");
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "panel\\panel.cfg", "Hangarpak", "Name", ""), "My Hopper");
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "sound\\sound.cfg", "Hangarpak", "Name", ""), "My Hopper");
  // The prompt is shown with the progress window hidden and the main window
  // disabled; the progress window comes back after it.
  const auto& c = windows.calls;
  const auto at = std::find(c.begin(), c.end(), "showNamePrompt");
  ASSERT_TRUE(at - c.begin() >= 2 && c.end() - at >= 3);
  EXPECT_EQ(std::vector<std::string>(at - 2, at + 3),
            (std::vector<std::string>{"hideProgress", "disableMainWindow", "showNamePrompt", "showProgress",
                                      "repaintProgress"}));
}

// Cancel changes nothing but counts; an aircraft without panel or sound gets
// no configuration from its name.
TEST_F(InstallersTest, CancellingTheAircraftNameChangesNothingButCounts) {
  state().optAddonName = 1;
  windows.answerPrompt(std::nullopt).answerPrompt("Bare");
  install("Hopper.zip", fullAircraft());
  install("bare.zip", ArchiveBuilder().add("aircraft.cfg", "[fltsim.0]\r\ntitle=B\r\n").add("bare.air", "a"));
  const std::string a = "C:\\FS2002\\Aircraft\\";
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "hopper\\aircraft.cfg", "fltsim.0", "title", ""), "Sky Hopper");
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "hopper\\panel\\panel.cfg", "Hangarpak", "Name", "none"), "none");
  EXPECT_EQ(state().installedCount, 2);
  EXPECT_EQ(core::ReadProfileString(ctx(), a + "bare\\aircraft.cfg", "fltsim.0", "title", ""), "Bare");
  EXPECT_FALSE(exists(a + "bare\\panel\\panel.cfg"));
  EXPECT_FALSE(exists(a + "bare\\sound\\sound.cfg"));
}

TEST_F(InstallersTest, PanelAndSoundPackagesAreNamedIntoTheirConfiguration) {
  state().optAddonName = 1;
  windows.answerPrompt("Glass Cockpit").answerPrompt("Big Roar");
  install("Glass.zip", ArchiveBuilder().add("panel.cfg", "[Window00]\r\n"));
  install("Roar.zip", ArchiveBuilder().add("sound.cfg", "[wind_sound]\r\n"));
  ASSERT_EQ(windows.prompts.size(), 2u);
  EXPECT_EQ(std::to_string(windows.prompts[0].mode) + windows.prompts[0].proposal, "3glass");
  EXPECT_EQ(std::to_string(windows.prompts[1].mode) + windows.prompts[1].proposal, "4roar");
  EXPECT_EQ(
      core::ReadProfileString(ctx(), "C:\\FS2002\\Aircraft\\FSFSConv\\panel.glass\\panel.cfg", "Hangarpak", "Name", ""),
      "Glass Cockpit");
  EXPECT_EQ(
      core::ReadProfileString(ctx(), "C:\\FS2002\\Aircraft\\FSFSConv\\sound.roar\\sound.cfg", "Hangarpak", "Name", ""),
      "Big Roar");
}

TEST_F(InstallersTest, MoveToTargetKeepsASourceItCouldNotCopy) {
  writeFile("Z:\\app\\TempZip\\keep.bmp", "k");
  install::MoveToTarget(ctx(), "Z:\\app\\TempZip\\keep.bmp", "C:\\FS2002\\Nowhere\\keep.bmp");
  EXPECT_EQ(readFile("Z:\\app\\TempZip\\keep.bmp"), "k");

  install::MoveToTarget(ctx(), "Z:\\app\\TempZip\\keep.bmp", "C:\\FS2002\\Gauges\\keep.bmp");
  EXPECT_FALSE(exists("Z:\\app\\TempZip\\keep.bmp"));
  EXPECT_EQ(readFile("C:\\FS2002\\Gauges\\keep.bmp"), "k");

  // A missing source changes nothing.
  install::MoveToTarget(ctx(), "Z:\\app\\TempZip\\gone.bmp", "C:\\FS2002\\Gauges\\gone.bmp");
  EXPECT_FALSE(exists("C:\\FS2002\\Gauges\\gone.bmp"));
}

TEST_F(InstallersTest, FontsGoToTheWinePrefixOrTheUsersFontFolder) {
  EXPECT_EQ(install::FontsFolder(ctx()), std::optional<std::string>("Z:\\data\\fonts\\"));
  EXPECT_TRUE(fsys::is_directory(root + "/data/fonts"));

  fsys::create_directories(host("C:\\windows\\system32"));
  EXPECT_EQ(install::FontsFolder(ctx()), std::optional<std::string>("C:\\windows\\Fonts\\"));
  EXPECT_TRUE(fsys::is_directory(root + "/c/windows/Fonts"));
}

}  // namespace
}  // namespace installtest
