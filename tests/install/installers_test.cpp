#include <algorithm>
#include <filesystem>
#include <set>

#include "core/context.h"
#include "core/profile.h"
#include "install/fonts_folder.h"
#include "install/install_command.h"
#include "install/install_fixture.h"
#include "install/install_folders.h"
#include "support/tree_snapshot.h"

namespace installtest {
namespace {

namespace fsys = std::filesystem;

ArchiveBuilder archiveOf(const std::vector<std::pair<std::string, std::string>>& members) {
  ArchiveBuilder a;
  for (const auto& [name, bytes] : members) a.add(name, bytes);
  return a;
}

class InstallersTest : public InstallFixture {
 protected:
  // Every file below the simulator folder and in the fonts folder, sorted.
  Files tree() const {
    Files out;
    for (const auto& [folder, prefix] : {std::pair{host("C:\\FS2002"), ""}, {root + "/data/fonts", "<fonts>/"}})
      for (const auto& [path, bytes] : testsupport::snapshotTree(folder))
        if (bytes != "<folder>") out.push_back(prefix + path);
    std::sort(out.begin(), out.end());
    return out;
  }
  // The title of the aircraft.cfg and the name in each panel.cfg and
  // sound.cfg that a folder below Aircraft holds, "|" between them.
  std::string namesIn(const std::string& folder) {
    std::string out;
    for (const auto& [file, section, key] : {std::tuple{"aircraft.cfg", "fltsim.0", "title"},
                                             {"panel\\panel.cfg", "Hangarpak", "Name"},
                                             {"sound\\sound.cfg", "Hangarpak", "Name"},
                                             {"panel.cfg", "Hangarpak", "Name"},
                                             {"sound.cfg", "Hangarpak", "Name"}}) {
      const std::string path = "C:\\FS2002\\Aircraft\\" + folder + "\\" + file;
      if (exists(path)) out += (out.empty() ? "" : "|") + core::ReadProfileString(ctx(), path, section, key, "-");
    }
    return out;
  }
};

ArchiveBuilder fullAircraft() {
  return archiveOf(
      {{"Hopper/aircraft.cfg",
        "[fltsim.0]\r\ntitle=Sky Hopper\r\nkb_checklists=Hopper_check\r\nkb_reference=Hopper_ref\r\n"},
       {"Hopper/hopper.air", std::string(800, 'a')},
       {"Hopper/model/hopper.mdl", "m"},
       {"Hopper/panel/panel.cfg", "[Window Titles]\r\nwindow00=Main\r\n[Window00]\r\nfile_1024=day1024.bmp\r\n"},
       {"Hopper/panel/day1024.bmp", "p"},
       {"Hopper/panel/glass.ttf", "f"},
       {"Hopper/sound/sound.cfg", "[wind_sound]\r\nfilename=engine\r\n"},
       {"Hopper/sound/engine.wav", "w"},
       {"Hopper/sound/extra.wav", "w"},
       {"Hopper/readme.txt", "r"},
       {"Hopper/other.cfg", "o"},
       {"Hopper/picture.jpg", "j"},
       {"Hopper/Hopper_check.txt", "c"},
       {"Hopper/Hopper_ref.txt", "r"}});
}

// The waves named in sound.cfg go to the aircraft's sound set, the others
// to the shared Sound folder; the bitmap named in panel.cfg to its panel
// (not taken for a texture); fonts to the fonts folder; the checklist and
// reference to the aircraft folder itself, never Doc; with Install Doc on,
// everything else (a font too) to Doc. Each placed file is a file of its
// own; moved files leave TempZip, and so does each file the last step
// places first.
TEST_F(InstallersTest, AnAircraftArchivePlacesEveryFile) {
  const std::string a = "Aircraft/hopper/";
  const Files placed = {a + "Hopper_check.txt", a + "Hopper_ref.txt",   a + "Model/hopper.mdl", a + "Panel/day1024.bmp",
                        a + "Panel/panel.cfg",  a + "Sound/engine.wav", a + "Sound/sound.cfg",  a + "aircraft.cfg",
                        a + "hopper.air",       "Sound/extra.wav",      "<fonts>/glass.ttf",    "fs2002.exe"};
  const Files doc = {a + "Doc/glass.ttf", a + "Doc/other.cfg", a + "Doc/picture.jpg", a + "Doc/readme.txt"};
  for (int on : {0, 1}) {
    SCOPED_TRACE(on ? "Install Doc on" : "Install Doc off");
    for (const auto& folder : {root + "/c", root + "/data/fonts"}) fsys::remove_all(folder);
    makeSimulator(80);
    state().optInstallDoc = on ? core::Option::On : core::Option::Off;
    state().installedCount = 0;
    install(putArchive("Hopper.zip", fullAircraft()));
    Files expected = placed;
    if (on) expected.insert(expected.end(), doc.begin(), doc.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree(), expected);
    // Each placed file is a file of its own (a font placed twice too).
    std::set<fsys::path> files;
    for (const auto& folder : {root + "/c", root + "/data/fonts"})
      for (const auto& e : fsys::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.insert(fsys::canonical(e.path()));
    for (const auto& f : files)
      for (const auto& g : files) EXPECT_TRUE(f == g || !fsys::equivalent(f, g)) << f << " is " << g;
    EXPECT_EQ(state().installedCount, 1);
    // The panel's files stay for the later steps; the last step's leave.
    const Files left = on ? Files{"extra.wav", "glass.ttf"}
                          : Files{"extra.wav", "glass.ttf", "other.cfg", "picture.jpg", "readme.txt"};
    EXPECT_EQ(tempZipFiles(), left);
  }
}

// Bitmaps named by any "file" key go to the panel, the rest to Doc; waves
// named by any "filename" key (quoted line, blanks, list) to the sound set;
// without kb_checklists the "checklists" file (.cfg) goes to the aircraft.
TEST_F(InstallersTest, PanelAndSoundPackagesGoToTheirStores) {
  state().optInstallDoc = core::Option::On;
  install(
      putArchive("Glass.zip",
                 archiveOf({{"panel.cfg", "[Window00]\r\nfile=day.bmp\r\nFILE_1024=CAPS.BMP\r\ngauge00=g!dial, 1\r\n"},
                            {"day.bmp", "d"},
                            {"CAPS.BMP", "c"},
                            {"night.bmp", "n"},
                            {"dial.gau", "g"},
                            {"click.wav", "w"},
                            {"glass.ttf", "f"}})));
  install(putArchive(
      "Roar.zip", archiveOf({{"sound.cfg", "[a]\r\nfilename= engine \r\n\"filename=prop , 5\"\r\nfilename2=start\r\n"},
                             {"engine.wav", "e"},
                             {"prop.wav", "p"},
                             {"start.wav", "s"},
                             {"other.wav", "o"},
                             {"readme.txt", "r"}})));
  install(putArchive("list.zip", archiveOf({{"aircraft.cfg", "[fltsim.0]\r\nchecklists=Hopper_list\r\n"},
                                            {"list.air", "a"},
                                            {"Hopper_list.cfg", "c"}})));
  const std::string p = "Aircraft/FSFSConv/panel.glass/", w = "Aircraft/FSFSConv/sound.roar/";
  EXPECT_EQ(tree(), (Files{"<fonts>/glass.ttf", p + "CAPS.BMP", p + "Doc/night.bmp", p + "day.bmp", p + "panel.cfg",
                           w + "Doc/readme.txt", w + "engine.wav", w + "prop.wav", w + "sound.cfg", w + "start.wav",
                           "Aircraft/list/Hopper_list.cfg", "Aircraft/list/aircraft.cfg", "Aircraft/list/list.air",
                           "Gauges/dial.gau", "Sound/click.wav", "Sound/other.wav", "fs2002.exe"}));
  EXPECT_EQ(state().installedCount, 3);
}

using Members = std::vector<std::pair<std::string, std::string>>;

Members operator+(Members a, const Members& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// What every aircraft needs for the scans to find nothing missing, in the
// folder d of the archive: a model, a panel with its bitmap, a sound set
// with its wave and a paint. Each file holds its tag, so that a test can
// tell which member went where.
Members complete(const std::string& d, const std::string& tag,
                 const std::string& panel = "[Window00]\r\nfile=day.bmp\r\n") {
  return {{d + "plane.air", tag + " air"},       {d + "model/model.cfg", "[models]\r\nnormal=plane\r\n"},
          {d + "model/plane.mdl", tag + " mdl"}, {d + "panel/panel.cfg", panel},
          {d + "panel/day.bmp", tag + " panel"}, {d + "sound/sound.cfg", "[engine]\r\nfilename=eng\r\n"},
          {d + "sound/eng.wav", tag + " wav"},   {d + "texture/t.bmp", tag + " paint"}};
}

// aircraft.cfg with one variant per line of keys ("texture=red").
Members variantsCfg(const std::string& d, const Files& variants) {
  std::string text;
  for (std::size_t n = 0; n < variants.size(); ++n)
    text += "[fltsim." + std::to_string(n) + "]\r\ntitle=Plane " + std::to_string(n) + "\r\nsim=plane\r\n" +
            variants[n] + "\r\n";
  return {{d + "aircraft.cfg", text}};
}

// The files of a complete aircraft once installed into the aircraft folder a.
Files installed(const std::string& a, const Files& more = {}) {
  Files out = {a + "Model/model.cfg", a + "Model/plane.mdl", a + "Panel/day.bmp",
               a + "Panel/panel.cfg", a + "Sound/eng.wav",   a + "Sound/sound.cfg",
               a + "Texture/t.bmp",   a + "aircraft.cfg",    a + "plane.air"};
  out.insert(out.end(), more.begin(), more.end());
  return out;
}

// One archive of each shape that the common freeware aircraft take,
// installed into a fresh simulator: which files come out where (and which
// member each holds) and what the run notes, or why it is refused when it
// installs no file. Install Doc is on for the shapes whose tree has a Doc
// folder.
TEST_F(InstallersTest, EveryMemberOfEachShapeOfAircraftArchiveFindsItsPlace) {
  const std::string a = "Aircraft/shape/", t = "Trainer/", kept = "C:\\FS2002\\aircraft\\shape\\";
  struct Shape {
    const char* name;
    Members members;
    Files tree;
    std::vector<std::pair<std::string, std::string>> holds = {};  // file of the tree -> what it holds
    Files notes = {};                                             // or, refused, the message
  };
  const Members loose = complete(t, "folder") + variantsCfg(t, {""}) + Members{{t + "t.bmp", "loose paint"}};
  const Shape shapes[] = {
      {"a plain aircraft",
       complete(t, "plain") + variantsCfg(t, {"texture="}) +
           Members{{t + "plain_notes.txt", "notes"}, {t + "readme.txt", "read me"}, {t + "panel/Dial.gau", "gauge"}},
       installed(a, {a + "Doc/readme.txt", a + "plain_notes.txt", "Gauges/Dial.gau"}),
       {{a + "Texture/t.bmp", "plain paint"}, {a + "Panel/day.bmp", "plain panel"}}},
      {"three liveries",
       complete(t, "white") + variantsCfg(t, {"texture=", "texture=red", "texture=blue"}) +
           Members{{t + "texture.red/t.bmp", "red paint"},
                   {t + "Texture.Blue/t.bmp", "blue paint"},
                   {t + "Texture.Blue/extra/decal.bmp", "decal"}},
       installed(a, {a + "Texture.Blue/extra/decal.bmp", a + "Texture.Blue/t.bmp", a + "texture.red/t.bmp"}),
       {{a + "Texture/t.bmp", "white paint"},
        {a + "texture.red/t.bmp", "red paint"},
        {a + "Texture.Blue/t.bmp", "blue paint"}}},
      {"model.X and panel.X",
       complete(t, "main") + variantsCfg(t, {"model=", "model=float\r\npanel=ifr"}) +
           Members{{t + "model.float/model.cfg", "[models]\r\nnormal=plane\r\n"},
                   {t + "model.float/plane.mdl", "float mdl"},
                   {t + "panel.ifr/panel.cfg", "[Window00]\r\nfile=day.bmp\r\ngauge00=Ifr!Dial, 1, 2\r\n"},
                   {t + "panel.ifr/day.bmp", "ifr panel"},
                   {t + "panel.ifr/Ifr.gau", "ifr gauge"}},
       installed(a, {"Gauges/Ifr.gau", a + "model.float/model.cfg", a + "model.float/plane.mdl",
                     a + "panel.ifr/day.bmp", a + "panel.ifr/panel.cfg"}),
       {{a + "Panel/day.bmp", "main panel"},
        {a + "panel.ifr/day.bmp", "ifr panel"},
        {a + "Model/plane.mdl", "main mdl"},
        {a + "model.float/plane.mdl", "float mdl"}}},
      {"two readme files",
       Members{{"readme.txt", "outer"}} + complete(t, "r") + variantsCfg(t, {""}) +
           Members{{t + "readme.txt", "inner"}, {t + "docs/README.TXT", "inner"}},
       installed(a, {a + "Doc/readme (2).txt", a + "Doc/readme.txt"}),
       {{a + "Doc/readme.txt", "outer"}, {a + "Doc/readme (2).txt", "inner"}}},
      {"a panel written with blanks around =",
       complete(t, "b", "[Window00]\r\nfile = day.bmp\r\nfile_1024 =\tnight.bmp \r\n") + variantsCfg(t, {""}) +
           Members{{t + "panel/night.bmp", "night"}},
       installed(a, {a + "Panel/night.bmp"}),
       {{a + "Panel/night.bmp", "night"}}},
      {"two aircraft of one .air name, each in its own folder",
       Members{{"readme.txt", "both"}} + complete("Cub/", "cub") + complete("Cub Floats/", "floats") +
           variantsCfg("Cub/", {""}) + variantsCfg("Cub Floats/", {""}),
       installed("Aircraft/Cub Floats/",
                 installed("Aircraft/Cub/", {"Aircraft/Cub Floats/Doc/readme.txt", "Aircraft/Cub/Doc/readme.txt"})),
       {{"Aircraft/Cub/plane.air", "cub air"},
        {"Aircraft/Cub Floats/plane.air", "floats air"},
        {"Aircraft/Cub Floats/Texture/t.bmp", "floats paint"}}},
      {"two aircraft of one .air name, one inside the other's folder",
       complete("", "cub") + complete("floats/", "floats") + variantsCfg("", {""}) + variantsCfg("floats/", {""}),
       {},
       {},
       {"C:\\DOWNLOADS\\SHAPE.ZIP\r\n\r\nThe archive holds two aircraft files of one name, plane.air and "
        "floats\\plane.air, that do not each lie in a "
        "folder of their own with an aircraft.cfg. Installed together, one would replace the other; the archive is "
        "not installed."}},
      {"a texture beside its texture folder, Install Doc on",
       loose,
       installed(a, {a + "Doc/t (2).bmp"}),
       {{a + "Texture/t.bmp", "folder paint"}, {a + "Doc/t (2).bmp", "loose paint"}},
       {"Trainer\\t.bmp is kept as " + kept + "Doc\\t (2).bmp: Trainer\\texture\\t.bmp takes " + kept +
        "Texture\\t.bmp."}},
      {"a texture beside its texture folder, Install Doc off",
       loose,
       installed(a),
       {{a + "Texture/t.bmp", "folder paint"}},
       {"Trainer\\t.bmp is not installed: Trainer\\texture\\t.bmp takes " + kept + "Texture\\t.bmp."}},
      {"a second aircraft.cfg and panel.cfg in another folder",
       complete(t, "main") + variantsCfg(t, {""}) +
           Members{{t + "old/aircraft.cfg", "[fltsim.0]\r\ntitle=Old\r\n"},
                   {t + "old/panel.cfg", "[Window00]\r\nfile=old.bmp\r\n"}},
       installed(a, {a + "Doc/aircraft (2).cfg", a + "Doc/panel (2).cfg"}),
       {{a + "Panel/day.bmp", "main panel"}},
       {"Trainer\\old\\panel.cfg is kept as " + kept + "Doc\\panel (2).cfg: Trainer\\panel\\panel.cfg takes " + kept +
            "panel\\panel.cfg.",
        "Trainer\\old\\aircraft.cfg is kept as " + kept + "Doc\\aircraft (2).cfg: Trainer\\aircraft.cfg takes " + kept +
            "aircraft.cfg."}},
      {"the same texture twice", complete(t, "same") + variantsCfg(t, {""}) + Members{{t + "t.bmp", "same paint"}},
       installed(a)},
  };
  dialogs.allowAnyMessages();
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.name);
    fsys::remove_all(root + "/c");
    makeSimulator(80);
    const bool doc =
        std::ranges::any_of(shape.tree, [](const auto& f) { return f.find("/Doc/") != std::string::npos; });
    state().optInstallDoc = doc ? core::Option::On : core::Option::Off;
    const auto run = install::RunInstallCommand(ctx(), {putArchive("shape.zip", archiveOf(shape.members))});
    Files expected = shape.tree;
    expected.push_back("fs2002.exe");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree(), expected);
    for (const auto& [file, bytes] : shape.holds) {
      const std::string path = "C:\\FS2002\\" + file;
      EXPECT_EQ(exists(path) ? readFile(path) : "<absent>", bytes) << file;
    }
    Files said = run.notes, notes = shape.notes;
    if (!run.notInstalled.empty()) said.push_back(dialogs.messages().back().text);
    std::sort(said.begin(), said.end());
    std::sort(notes.begin(), notes.end());
    EXPECT_EQ(said, notes);
  }
}

TEST_F(InstallersTest, NamesInConfigurationsCannotReachOutsideTempZip) {
  writeFile("C:\\victim.bmp", "keep me");
  writeFile("C:\\victim.wav", "keep me");
  const std::string up = "..\\..\\c\\victim";
  install(putArchive("Sly.zip", archiveOf({{"panel.cfg", "[Window00]\r\nfile=" + up + ".bmp\r\n"},
                                           {"sound.cfg", "[wind_sound]\r\nfilename=" + up + "\r\n"},
                                           {"aircraft.cfg", "[fltsim.0]\r\nkb_checklists=" + up + "\r\n"},
                                           {"sly.air", "a"}})));
  EXPECT_EQ(readFile("C:\\victim.bmp") + readFile("C:\\victim.wav"), "keep mekeep me");
  for (const auto& file : tree()) EXPECT_EQ(file.find("victim"), std::string::npos) << file;
}

// The name prompt, filled with the aircraft's title or the archive's name,
// is shown with the progress window hidden and the main window disabled,
// and the progress window comes back after it. The answer goes into the
// title and into the panel and sound configurations there are; Cancel
// changes nothing, and the add-on counts either way.
TEST_F(InstallersTest, TheNamePromptNamesTheAddonInItsConfigurations) {
  state().optAddonName = core::Option::On;
  auto named = [&](const std::string& archiveName, const ArchiveBuilder& archive, std::optional<std::string> answer,
                   const std::string& prompt, const std::string& folder, const std::string& names) {
    SCOPED_TRACE(archiveName + " " + answer.value_or("(cancel)"));
    windows.prompts.clear();
    windows.calls.clear();
    windows.answerPrompt(answer);
    state().installedCount = 0;
    install(putArchive(archiveName + ".zip", archive));
    ASSERT_EQ(windows.prompts.size(), 1u);
    EXPECT_EQ(std::to_string(windows.prompts[0].mode) + windows.prompts[0].proposal, prompt);
    EXPECT_EQ(namesIn(folder), names);
    EXPECT_EQ(state().installedCount, 1);
    const auto& calls = windows.calls;
    const auto at = std::find(calls.begin(), calls.end(), "showNamePrompt");
    ASSERT_TRUE(at - calls.begin() >= 2 && calls.end() - at >= 3);
    EXPECT_EQ(Files(at - 2, at + 3),
              (Files{"hideProgress", "disableMainWindow", "showNamePrompt", "showProgress", "repaintProgress"}));
  };
  named("hopper", fullAircraft(), std::nullopt, "2Sky Hopper", "hopper", "Sky Hopper|-|-");
  dialogs.expectMessage("Do you want to update hopper?", "Aircraft already installed", core::Buttons::YesNo,
                        core::Icon::Question, core::Answer::Yes);
  named("hopper", fullAircraft(), "My Hopper", "2Sky Hopper", "hopper", "My Hopper|My Hopper|My Hopper");
  named("bare", archiveOf({{"aircraft.cfg", "[fltsim.0]\r\ntitle=B\r\n"}, {"bare.air", "a"}}), "Bare", "2B", "bare",
        "Bare");
  named("glass", archiveOf({{"panel.cfg", "[Window00]\r\n"}}), "Glass", "3glass", "FSFSConv\\panel.glass", "Glass");
  named("roar", archiveOf({{"sound.cfg", "[wind_sound]\r\n"}}), "Big Roar", "4roar", "FSFSConv\\sound.roar",
        "Big Roar");
}

TEST_F(InstallersTest, MoveToTargetKeepsASourceItCouldNotCopy) {
  const std::string source = "Z:\\app\\TempZip\\keep.bmp";
  writeFile(source, "k");
  install::MoveToTarget(ctx(), source, "C:\\FS2002\\Nowhere\\keep.bmp");
  EXPECT_EQ(readFile(source), "k");
  install::MoveToTarget(ctx(), source, "C:\\FS2002\\Gauges\\keep.bmp");
  EXPECT_FALSE(exists(source));
  EXPECT_EQ(readFile("C:\\FS2002\\Gauges\\keep.bmp"), "k");
  install::MoveToTarget(ctx(), "Z:\\app\\TempZip\\gone.bmp", "C:\\FS2002\\Gauges\\gone.bmp");  // no source
  EXPECT_FALSE(exists("C:\\FS2002\\Gauges\\gone.bmp"));
}

// The Wine prefix's font folder when there is one (else the user's, where
// the archives above place their fonts).
TEST_F(InstallersTest, FontsGoToTheWinePrefixsFontFolder) {
  fsys::create_directories(host("C:\\windows\\system32"));
  EXPECT_EQ(install::FontsFolder(ctx()), std::optional<std::string>("C:\\windows\\Fonts\\"));
  EXPECT_TRUE(fsys::is_directory(root + "/c/windows/Fonts"));
}

}  // namespace
}  // namespace installtest
