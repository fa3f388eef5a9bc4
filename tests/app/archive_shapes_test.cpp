#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_fixture.h"
#include "support/tree_snapshot.h"

namespace {

using testsupport::ArchiveBuilder;
using Files = std::vector<std::string>;
using Members = std::vector<std::pair<std::string, std::string>>;

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
std::pair<std::string, std::string> aircraftCfg(const std::string& d, const Files& variants) {
  std::string text;
  for (std::size_t n = 0; n < variants.size(); ++n)
    text += "[fltsim." + std::to_string(n) + "]\r\ntitle=Plane " + std::to_string(n) + "\r\nsim=plane\r\n" +
            variants[n] + "\r\n";
  return {d + "aircraft.cfg", text};
}

// The members or files of a followed by those of b.
template <class T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The files of a complete aircraft once installed into the aircraft folder a.
Files installed(const std::string& a) {
  return {a + "Model/model.cfg", a + "Model/plane.mdl", a + "Panel/day.bmp", a + "Panel/panel.cfg", a + "Sound/eng.wav",
          a + "Sound/sound.cfg", a + "Texture/t.bmp",   a + "aircraft.cfg",  a + "plane.air"};
}

class ArchiveShapesTest : public clitest::CliFixture {
 protected:
  ArchiveShapesTest() { useSimulator(); }

  // The files below the simulator folder, sorted; folders left out.
  Files tree() const {
    Files out;
    for (const auto& [path, bytes] : testsupport::snapshotTree(host("C:\\FS2002")))
      if (bytes != "<folder>" && path != "fs2002.exe") out.push_back(path);
    std::sort(out.begin(), out.end());
    return out;
  }
};

// One archive of each shape that the common freeware aircraft take,
// installed by hangarpak-cli into a fresh simulator: which files come out
// where (and which member each holds), what stderr says, and, for each
// archive whose aircraft are complete, that the scans right after the
// installation find nothing missing.
TEST_F(ArchiveShapesTest, EveryMemberFindsItsPlaceAndTheScansFindNothingMissing) {
  const std::string a = "Aircraft/shape/", t = "Trainer/";
  // Refused when it installs no file; Install Doc is on for the shapes whose
  // tree has a Doc folder.
  struct Shape {
    const char* name;
    Members members;
    Files tree;
    std::vector<std::pair<std::string, std::string>> holds = {};  // file of the tree -> what it holds
    Files err = {};                                               // lines stderr holds
  };
  const Members loose = complete(t, "folder") + Members{aircraftCfg(t, {""}), {t + "t.bmp", "loose paint"}};
  const Shape shapes[] = {
      {"a plain aircraft, exactly as before",
       complete(t, "plain") + Members{aircraftCfg(t, {"texture="}),
                                      {t + "plain_notes.txt", "notes"},
                                      {t + "readme.txt", "read me"},
                                      {t + "panel/Dial.gau", "gauge"}},
       installed(a) + Files{a + "Doc/readme.txt", a + "plain_notes.txt", "Gauges/Dial.gau"},
       {{a + "Texture/t.bmp", "plain paint"}, {a + "Panel/day.bmp", "plain panel"}}},
      {"three liveries",
       complete(t, "white") + Members{aircraftCfg(t, {"texture=", "texture=red", "texture=blue"}),
                                      {t + "texture.red/t.bmp", "red paint"},
                                      {t + "Texture.Blue/t.bmp", "blue paint"},
                                      {t + "Texture.Blue/extra/decal.bmp", "decal"}},
       installed(a) + Files{a + "Texture.Blue/extra/decal.bmp", a + "Texture.Blue/t.bmp", a + "texture.red/t.bmp"},
       {{a + "Texture/t.bmp", "white paint"},
        {a + "texture.red/t.bmp", "red paint"},
        {a + "Texture.Blue/t.bmp", "blue paint"}}},
      {"model.X and panel.X",
       complete(t, "main") +
           Members{aircraftCfg(t, {"model=", "model=float\r\npanel=ifr"}),
                   {t + "model.float/model.cfg", "[models]\r\nnormal=plane\r\n"},
                   {t + "model.float/plane.mdl", "float mdl"},
                   {t + "panel.ifr/panel.cfg", "[Window00]\r\nfile=day.bmp\r\ngauge00=Ifr!Dial, 1, 2\r\n"},
                   {t + "panel.ifr/day.bmp", "ifr panel"},
                   {t + "panel.ifr/Ifr.gau", "ifr gauge"}},
       installed(a) + Files{"Gauges/Ifr.gau", a + "model.float/model.cfg", a + "model.float/plane.mdl",
                            a + "panel.ifr/day.bmp", a + "panel.ifr/panel.cfg"},
       {{a + "Panel/day.bmp", "main panel"},
        {a + "panel.ifr/day.bmp", "ifr panel"},
        {a + "Model/plane.mdl", "main mdl"},
        {a + "model.float/plane.mdl", "float mdl"}}},
      {"two readme files",
       Members{{"readme.txt", "outer"}} + complete(t, "r") +
           Members{aircraftCfg(t, {""}), {t + "readme.txt", "inner"}, {t + "docs/README.TXT", "inner"}},
       installed(a) + Files{a + "Doc/readme (2).txt", a + "Doc/readme.txt"},
       {{a + "Doc/readme.txt", "outer"}, {a + "Doc/readme (2).txt", "inner"}}},
      {"a panel written with blanks around =",
       complete(t, "b", "[Window00]\r\nfile = day.bmp\r\nfile_1024 =\tnight.bmp \r\n") +
           Members{aircraftCfg(t, {""}), {t + "panel/night.bmp", "night"}},
       installed(a) + Files{a + "Panel/night.bmp"},
       {{a + "Panel/night.bmp", "night"}}},
      {"two aircraft of one .air name, each in its own folder",
       Members{{"readme.txt", "both"}} + complete("Cub/", "cub") + complete("Cub Floats/", "floats") +
           Members{aircraftCfg("Cub/", {""}), aircraftCfg("Cub Floats/", {""})},
       installed("Aircraft/Cub Floats/") + installed("Aircraft/Cub/") +
           Files{"Aircraft/Cub Floats/Doc/readme.txt", "Aircraft/Cub/Doc/readme.txt"},
       {{"Aircraft/Cub/plane.air", "cub air"},
        {"Aircraft/Cub Floats/plane.air", "floats air"},
        {"Aircraft/Cub Floats/Texture/t.bmp", "floats paint"}}},
      {"two aircraft of one .air name, one inside the other's folder",
       complete("", "cub") + complete("floats/", "floats") +
           Members{aircraftCfg("", {""}), aircraftCfg("floats/", {""})},
       {},
       {},
       {"The archive holds two aircraft files of one name, plane.air and floats\\plane.air, that do not each lie in a "
        "folder of their own with an aircraft.cfg. Installed together, one would replace the other; the archive is "
        "not installed."}},
      {"a texture beside its texture folder, Install Doc on",
       loose,
       installed(a) + Files{a + "Doc/t (2).bmp"},
       {{a + "Texture/t.bmp", "folder paint"}, {a + "Doc/t (2).bmp", "loose paint"}},
       {"Trainer\\t.bmp is kept as C:\\FS2002\\aircraft\\shape\\Doc\\t (2).bmp: Trainer\\texture\\t.bmp takes "
        "C:\\FS2002\\aircraft\\shape\\Texture\\t.bmp."}},
      {"a texture beside its texture folder, Install Doc off",
       loose,
       installed(a),
       {{a + "Texture/t.bmp", "folder paint"}},
       {"Trainer\\t.bmp is not installed: Trainer\\texture\\t.bmp takes C:\\FS2002\\aircraft\\shape\\Texture\\t.bmp."}},
      {"a second aircraft.cfg and panel.cfg in another folder",
       complete(t, "main") + Members{aircraftCfg(t, {""}),
                                     {t + "old/aircraft.cfg", "[fltsim.0]\r\ntitle=Old\r\n"},
                                     {t + "old/panel.cfg", "[Window00]\r\nfile=old.bmp\r\n"}},
       installed(a) + Files{a + "Doc/aircraft (2).cfg", a + "Doc/panel (2).cfg"},
       {{a + "Panel/day.bmp", "main panel"}},
       {"Trainer\\old\\panel.cfg is kept as C:\\FS2002\\aircraft\\shape\\Doc\\panel (2).cfg: Trainer\\panel\\panel.cfg "
        "takes C:\\FS2002\\aircraft\\shape\\panel\\panel.cfg.",
        "Trainer\\old\\aircraft.cfg is kept as C:\\FS2002\\aircraft\\shape\\Doc\\aircraft (2).cfg: "
        "Trainer\\aircraft.cfg takes C:\\FS2002\\aircraft\\shape\\aircraft.cfg."}},
      {"the same texture twice", complete(t, "same") + Members{aircraftCfg(t, {""}), {t + "t.bmp", "same paint"}},
       installed(a)},
  };
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.name);
    std::filesystem::remove_all(root + "/c");
    std::filesystem::remove_all(root + "/app");
    useSimulator();
    const bool doc =
        std::ranges::any_of(shape.tree, [](const auto& f) { return f.find("/Doc/") != std::string::npos; });
    settings->save("Hangarpak", "Options", "Install Doc", doc ? "1" : "0");
    ArchiveBuilder zip;
    for (const auto& [name, bytes] : shape.members) zip.add(name, bytes);
    const auto r = run({"install", put("shape.zip", zip)});
    const bool installs = !shape.tree.empty();
    EXPECT_EQ(r.status, installs ? 0 : 1) << r.err;
    Files expected = shape.tree;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tree(), expected);
    for (const auto& [file, bytes] : shape.holds) {
      const std::string path = "C:\\FS2002\\" + file;
      EXPECT_EQ(exists(path) ? readFile(path) : "<absent>", bytes) << file;
    }
    for (const auto& line : shape.err) EXPECT_NE(r.err.find(line + "\n"), std::string::npos) << r.err;
    if (shape.err.empty()) {
      EXPECT_EQ(r.err, "");
    }
    if (!installs) continue;
    for (const char* kind : {"aircraft", "panels"}) {
      const auto scan = run({"scan", kind});
      EXPECT_EQ(scan.status, 0) << scan.out;
      EXPECT_EQ(scan.out.find("Missing"), std::string::npos) << scan.out;
    }
  }
}

// A livery and a texture left out: the dry run shows where the livery's
// folder goes, which member each file comes from and what is left out; the
// journal keeps the note with the installation, and an uninstall, which has
// nothing to undo for it, takes the rest back whole.
TEST_F(ArchiveShapesTest, DryRunAndJournalTellWhatGoesWhereAndWhatIsLeftOut) {
  ArchiveBuilder zip;
  for (const auto& [name, bytes] :
       complete("", "folder") + Members{aircraftCfg("", {""}), {"extra/t.bmp", "loose"}, {"texture.red/t.bmp", "red"}})
    zip.add(name, bytes);
  const std::string archive = put("shape.zip", zip), a = "C:\\FS2002\\aircraft\\shape\\";
  const std::string note = "extra\\t.bmp is not installed: texture\\t.bmp takes " + a + "Texture\\t.bmp.";
  const auto plan = run({"install", "--dry-run", archive});
  EXPECT_EQ(plan.status, 0) << plan.err;
  for (const std::string& line :
       {"  places       texture.red as " + a + "texture.red\n",
        "  new          " + a + "texture.red\\t.bmp  from the archive's texture.red\\t.bmp\n",
        "  new          " + a + "Texture\\t.bmp  from the archive's texture\\t.bmp\n", "  note         " + note + "\n"})
    EXPECT_NE(plan.out.find(line), std::string::npos) << line << plan.out;
  // The same as JSON, paths with their backslashes escaped.
  auto json = [](std::string text) {
    for (auto at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 2)) text.insert(at, "\\");
    return text;
  };
  const auto asJson = run({"install", "--dry-run", "--json", archive});
  for (const std::string& part :
       {"\"placedFolders\": [{\"archiveFolder\": \"texture.red\", \"target\": \"" + json(a + "texture.red") + "\"}]",
        "\"notes\": [{\"path\": \"" + json(a + "Texture\\t.bmp") + "\", \"text\": \"" + json(note) + "\"}]"})
    EXPECT_NE(asJson.out.find(part), std::string::npos) << part << asJson.out;
  EXPECT_EQ(tree(), Files{});

  ASSERT_EQ(run({"install", archive}).status, 0);
  const auto history = run({"history", "1"});
  EXPECT_NE(history.out.find("\tnoted\t" + a + "Texture\\t.bmp\t" + note + "\n"), std::string::npos) << history.out;
  const auto uninstall = run({"uninstall", "1"});
  EXPECT_EQ(uninstall.status, 0) << uninstall.out << uninstall.err;
  EXPECT_EQ(tree(), Files{});
}

}  // namespace
