#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>

#include "core/errors.h"
#include "core/profile.h"
#include "core/registry.h"
#include "install/adventures.h"
#include "install/install_fixture.h"
#include "install/scenery.h"
#include "support/standins.h"
#include "support/tree_snapshot.h"

namespace installtest {
namespace {

using core::Icon;
using install::AdventureKind;

TEST(AdventureKindTest, FirstFieldDecidesInLowerCase) {
  const std::pair<std::string, AdventureKind> cases[] = {
      {"FS7 ADVENTURE\r\n", AdventureKind::Fs2000},
      {"   fs7 adv\r\n", AdventureKind::Fs2000},
      {"FS6x adventure, 3\r\n", AdventureKind::Fs98},
      {"FS7,ADVENTURE\r\n", AdventureKind::Old},
      {"\r\nFS7 Adventure\r\n", AdventureKind::Old},
      {"AAF adventure\r\n", AdventureKind::Old},
      {"", AdventureKind::Old},
  };
  for (const auto& [bytes, kind] : cases) EXPECT_EQ(install::adventureKind(bytes), kind) << bytes;
}

// Adventures of the three generations and what each converter makes of an
// old one, and a converter configuration, by the names the cases use.
const std::map<std::string, std::string> kContents = {
    {"fs2000", "\"FS7 Adventure\",1\r\nbody\r\n"},
    {"fs98", "FS6x adventure, 3\r\nbody\r\n"},
    {"old", "AAF adventure\r\nbody\r\n"},
    {"made2000", "FS7 adventure\r\nbody\r\n"},
    {"made98", "FS6x adventure\r\nbody\r\n"},
    {"cfg", "[Options]\r\nLanguage=1\r\nCopySounds=1\r\n[Window]\r\nX=3\r\n"}};
const std::string kBoth = "aafconv.exe aafconv98.exe";

Files words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

Message convert(const char* target) {
  return {std::string("The adventure is made for an earlier FS version. Please use\nFlight Shop Converter to convert "
                      "the aircraft for ") +
              target + ".\n\nThe ADV file is located: Z:\\app\\TempZip",
          "Convert adventure", Icon::Exclamation};
}
Message backwards(const char* name) {
  return {"The adventure is made for FS2000 and\ncan not be converted backwards.",
          std::string("FS2000 adventure - ") + name, Icon::Exclamation};
}
const Message kNoConverter = {"Could not find Flight Shop Converter!", "Installation aborted", Icon::Critical};
const Message kFoundFs5 = {
    "The aircraft is made for FS5.x. Please use Flight Shop Converter\nto convert the aircraft for FS98\\FS2000.\n\n"
    "The AIR file is located: Z:\\app\\TempZip",
    "Hangarpak found FS5.x aircraft", Icon::Exclamation};

// A simulator at C:\FS<version> with the folders the installation makes
// before the installers run, and the converters named.
class OutsideProgramsTest : public InstallFixture {
 protected:
  void makeSim(int version, const std::string& converters) {
    std::filesystem::remove_all(root + "/c");
    for (const char* temp : {"/app/TempZip", "/app/TempAdv"}) std::filesystem::remove_all(root + temp);
    makeSimulator(version, "FS" + std::to_string(version));
    std::filesystem::remove_all(host(sim() + "\\Situatio"));  // made when needed
    std::filesystem::create_directories(host(sim() + "\\Adv\\Wav"));
    if (version != 61) std::filesystem::create_directories(host(sim() + "\\Adv\\Other"));
    for (const auto& name : words(converters)) testsupport::putConverter(host(sim()), name);
    state().installedCount = 2;  // counts go on from earlier archives
    state().catalogueStale = false;
    dialogs.keepPaintingCalls = 0;
  }
  std::string sim() { return state().simFolder; }
  std::string converter(bool other = false) { return (state().simVersion == 61) != other ? "aafconv98" : "aafconv"; }
  std::vector<testsupport::ConverterRun> runs(bool other = false) {
    return testsupport::converterRuns(host(sim()), converter(other));
  }
  // The converter's configuration; "" when there is none.
  std::string config() {
    const std::string file = sim() + "\\" + converter() + ".cfg";
    return exists(file) ? readFile(file) : "";
  }
  // Every file of the application folder and of the simulator's Adv and
  // Situatio folders, as "path=content", the content by its name if it has one.
  std::string files() {
    std::string out;
    auto add = [&](const std::string& folder, const std::string& prefix) {
      for (const auto& [path, bytes] : testsupport::snapshotTree(folder)) {
        if (bytes == "<folder>") continue;
        auto named = std::find_if(kContents.begin(), kContents.end(), [&](const auto& c) { return c.second == bytes; });
        out += (out.empty() ? "" : " ") + prefix + path + "=" + (named == kContents.end() ? bytes : named->first);
      }
    };
    for (const std::string sub : {"Adv", "Situatio"}) add(host(sim() + "\\" + sub), sub + "/");
    add(root + "/app", "");
    return out;
  }

  // Runs the adventure installer over the files given ("path=content"
  // below the application folder, or the simulator folder for a bare name)
  // and compares what it shows, what the converter found in each run, the
  // converter's configuration, every file afterwards, and the count.
  void adventures(const char* title, int version, const std::string& converters, const std::string& given,
                  const std::vector<Message>& shown, const std::string& converted, const std::string& configAfter,
                  const std::string& after, int counted) {
    SCOPED_TRACE(title);
    makeSim(version, converters);
    for (const auto& entry : words(given)) {
      std::string path = entry.substr(0, entry.find('=')), content = entry.substr(entry.find('=') + 1);
      std::replace(path.begin(), path.end(), '/', '\\');
      writeFile((path.find('\\') == std::string::npos ? sim() : "Z:\\app") + "\\" + path,
                kContents.count(content) ? kContents.at(content) : content);
    }
    expect(shown);

    install::InstallAdventures(ctx());

    EXPECT_TRUE(dialogs.done());
    Files found;
    for (const auto& run : runs()) {
      EXPECT_EQ(run.adventureInput + run.copySounds + run.copySituations, "Z:\\app\\TempAdv\\00");
      found.push_back(run.adventures.size() == 1 ? run.adventures[0] : "several");
    }
    EXPECT_EQ(found, words(converted));
    EXPECT_EQ(runs(true).size(), 0u);
    EXPECT_EQ(config(), configAfter);
    EXPECT_EQ(files(), after);
    EXPECT_FALSE(exists("Z:\\app\\TempAdv"));
    EXPECT_EQ(state().installedCount, 2 + counted);
    EXPECT_EQ(dialogs.keepPaintingCalls > 0, !found.empty());
  }
};

TEST_F(OutsideProgramsTest, AdventuresArePlacedConvertedOrRefusedByTheirGeneration) {
  adventures("FS98 places adventures, sounds and situations and leaves the rest", 61, kBoth,
             "TempZip/trip.adv=fs98 TempZip/Engine.WAV=wave TempZip/start.stn=stn TempZip/trip.flt=f "
             "TempZip/rain.wx=w TempZip/trip.brf=b TempZip/map.bmp=m",
             {}, "", "",
             "Adv/Wav/Engine.WAV=wave Adv/trip.adv=fs98 Situatio/start.stn=stn TempZip/Engine.WAV=wave "
             "TempZip/map.bmp=m TempZip/rain.wx=w TempZip/start.stn=stn TempZip/trip.adv=fs98 TempZip/trip.brf=b "
             "TempZip/trip.flt=f",
             1);
  // An FS2000 adventure under FS98 refuses the whole archive, whether the
  // listing meets it first or last.
  adventures("FS2000 adventure first", 61, kBoth, "TempZip/a_new.adv=fs2000 TempZip/b_old.adv=fs98 TempZip/e.wav=w",
             {backwards("a_new.adv")}, "", "", "TempZip/b_old.adv=fs98 TempZip/e.wav=w", 0);
  adventures("FS2000 adventure last", 61, kBoth, "TempZip/b_new.adv=fs2000 TempZip/a_old.adv=fs98 TempZip/e.wav=w",
             {backwards("b_new.adv")}, "", "", "TempZip/a_old.adv=fs98 TempZip/e.wav=w", 0);
  // One run per old adventure; the converter is found in any letter case, a
  // leftover TempAdv does not stop it, and its own keys and sections keep
  // their place and bytes.
  // FS2000 and FS2002 take flights, weather, briefings and bitmaps too.
  adventures("two old adventures under FS2000", 70, "AAFCONV.EXE",
             "TempAdv/stale.adv=old aafconv.cfg=cfg TempZip/first.adv=old TempZip/second.adv=old "
             "TempZip/fs98.adv=fs98 TempZip/e.wav=w TempZip/t.FLT=f TempZip/r.WX=x TempZip/t.brf=b TempZip/bmp=m "
             "TempZip/s.stn=s",
             {convert("FS2000"), convert("FS2000")}, "first.adv second.adv",
             "[Options]\r\nLanguage=1\r\nCopySounds=0\r\nAdventureInputPath=Z:\\app\\TempAdv\\\r\nCopySituations=0\r\n"
             "[Window]\r\nX=3\r\n",
             "Adv/Other/bmp=m Adv/Other/fs98.adv=fs98 Adv/Other/r.WX=x Adv/Other/t.FLT=f Adv/Other/t.brf=b "
             "Adv/Wav/e.wav=w Adv/first.adv=made2000 Adv/second.adv=made2000 TempZip/bmp=m TempZip/e.wav=w "
             "TempZip/fs98.adv=fs98 TempZip/r.WX=x TempZip/s.stn=s TempZip/t.FLT=f TempZip/t.brf=b",
             1);
  adventures("an old adventure under FS98: the converter's keys in their order", 61, kBoth, "TempZip/old.adv=old",
             {convert("FS98")}, "old.adv",
             "[Options]\r\nAdventureInputPath=Z:\\app\\TempAdv\\\r\nCopySounds=0\r\nCopySituations=0\r\n",
             "Adv/old.adv=made98", 1);
  adventures(
      "an old adventure under FS2002 is deleted, the rest placed", 80, kBoth,
      "TempZip/ancient.adv=old TempZip/modern.adv=fs2000 TempZip/e.wav=w TempZip/readme.txt=r",
      {{"Hangarpak v3.2 does not support old adventure installation for FS2002!", "Could not install adventure",
        Icon::Exclamation}},
      "", "",
      "Adv/Other/modern.adv=fs2000 Adv/Wav/e.wav=w TempZip/e.wav=w TempZip/modern.adv=fs2000 TempZip/readme.txt=r", 1);
  adventures("another simulator has no adventure folders", 1, kBoth, "TempZip/old.adv=old TempZip/trip.adv=fs98", {},
             "", "", "TempZip/old.adv=old TempZip/trip.adv=fs98", 0);
  // A missing converter (only the other one there) ends the procedure.
  for (const auto& [version, other, target] : {std::tuple{70, "aafconv98.exe", "FS2000"}, {61, "aafconv.exe", "FS98"}})
    adventures(target, version, other, "TempZip/old.adv=old TempZip/fs98.adv=fs98 TempZip/e.wav=w",
               {convert(target), kNoConverter}, "", "", "TempZip/e.wav=w TempZip/fs98.adv=fs98", 0);
}

// An FS5 aircraft (its .air larger than 15000 bytes) goes to the version's
// converter; it counts when the converter made the aircraft.
TEST_F(OutsideProgramsTest, Fs5AircraftIsConvertedAndCountedWhenTheConverterMadeIt) {
  const std::string air(20000, 'o');
  // "no-op": a program under the converter's name that converts nothing.
  auto check = [&](int version, const std::string& converters, const std::vector<Message>& shown, bool made) {
    SCOPED_TRACE(std::to_string(version) + " " + converters);
    makeSim(version, converters == "no-op" ? "" : converters);
    if (converters == "no-op") {
      testsupport::writeHostFile(host(sim() + "\\aafconv.exe"), "#!/bin/sh\nexit 0\n");
      std::filesystem::permissions(host(sim() + "\\aafconv.exe"), std::filesystem::perms::owner_all);
    }
    expect(shown);
    install(putArchive("Oldbird.zip", ArchiveBuilder().add("Oldbird.air", air).add("oldbird.txt", "r")));
    EXPECT_TRUE(dialogs.done());
    Files found;
    for (const auto& run : runs()) found.insert(found.end(), run.aircraft.begin(), run.aircraft.end());
    EXPECT_EQ(found, made ? Files{"Oldbird.air"} : Files{});
    EXPECT_EQ(runs(true).size(), 0u);
    EXPECT_EQ(core::profile::lookup(config(), "Options", "AircraftInputPath").value_or("(none)"),
              converters.empty() ? "(none)" : "Z:\\app\\TempZip\\");
    ASSERT_EQ(exists(sim() + "\\Aircraft\\Oldbird"), made);
    EXPECT_EQ(made ? readFile(sim() + "\\Aircraft\\Oldbird\\Oldbird.air") : air, air);
    EXPECT_EQ(state().installedCount, made ? 3 : 2);
    EXPECT_EQ(state().catalogueStale, !converters.empty());
  };
  check(70, kBoth, {kFoundFs5}, true);
  check(61, kBoth, {kFoundFs5}, true);
  check(70, "no-op", {kFoundFs5}, false);
  check(70, "", {kFoundFs5, kNoConverter}, false);

  // A configuration that cannot take the input path ends the installation:
  // the converter is not run on the path the file held before.
  makeSim(70, kBoth);
  const std::string before = "[Options]\r\nAircraftInputPath=C:\\Elsewhere\\\r\n";
  writeFile(sim() + "\\aafconv.cfg", before);
  std::filesystem::permissions(host(sim() + "\\aafconv.cfg"), std::filesystem::perms::owner_read);
  expect({kFoundFs5});
  dialogs.expectMessageHead("Install error 70", "Error", core::Buttons::OK, Icon::Exclamation);
  EXPECT_THROW(install(putArchive("Oldbird.zip", ArchiveBuilder().add("Oldbird.air", air))), core::EndProgram);
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(runs().size(), 0u);
  EXPECT_EQ(config(), before);
  EXPECT_EQ(state().installedCount, 2);
}

// The scenery installer is the one the settings name, else the one the
// registry names. A package picked directly is handed over in place; else
// each package in TempZip, each run finding the package that "QX Start"
// named at its start.
TEST_F(OutsideProgramsTest, SceneryPackagesGoToTheInstallerTheSettingsOrTheRegistryName) {
  const char* const appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ortholay.exe";
  const std::string viaSettings = "C:\\Ortholay\\", viaRegistry = "C:\\Program Files\\Ortho\\";
  const std::string alps = "C:\\Scenery\\alps.sif", t = "Z:\\app\\TempZip\\";
  const struct {
    std::string appPath, registryPath;  // "": not set
    std::string package;                // "": the packages in TempZip
    Files ran;                          // "installer's folder|package|its first line", in order
  } cases[] = {
      {viaSettings, viaRegistry + "Ortholay.exe", alps, {viaSettings + "|" + alps + "|alps"}},
      {"C:\\Nowhere\\", viaRegistry + "Ortholay.exe", alps, {viaRegistry + "|" + alps + "|alps"}},
      {"C:\\Ortholay", viaRegistry + "Ortholay.exe", alps, {viaRegistry + "|" + alps + "|alps"}},  // no backslash
      {"", viaRegistry + "Ortholay.exe", alps, {viaRegistry + "|" + alps + "|alps"}},
      {"", viaRegistry, alps, {}},  // the registry names a folder
      {"C:\\Nowhere\\", "C:\\Nowhere\\Ortholay.exe", alps, {}},
      {"", "", alps, {}},
      {viaSettings,
       "",
       "",
       {viaSettings + "|" + t + "a_coast.sif|coas", viaSettings + "|" + t + "b_hills.SIF|hill",
        viaSettings + "|" + t + "c_town.sif|town"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.appPath + " " + c.registryPath + " " + c.package);
    makeSim(80, "");
    std::filesystem::remove_all(root + "/config/Ortholay");
    registry->deleteKey(core::Hive::LocalMachine, appPaths);
    for (const auto& folder : {viaSettings, viaRegistry}) testsupport::putSceneryInstaller(host(folder));
    if (!c.appPath.empty()) settings->save("Ortholay", "General", "App Path", c.appPath);
    if (!c.registryPath.empty()) registry->setValue(core::Hive::LocalMachine, appPaths, "", c.registryPath);
    writeFile(alps, "alps");
    for (const char* name : {"b_hills.SIF", "a_coast.sif", "c_town.sif", "readme.txt"})
      writeFile(t + name, std::string(name).substr(2, 4));
    if (c.ran.empty()) expect({noSceneryInstaller(root)});

    install::RunSceneryInstaller(ctx(), c.package);

    EXPECT_TRUE(dialogs.done());
    Files ran;
    for (const auto& folder : {viaSettings, viaRegistry})
      for (const auto& run : testsupport::sceneryRuns(host(folder)))
        ran.push_back(folder + "|" + run.package + "|" + run.firstLine);
    EXPECT_EQ(ran, c.ran);
    EXPECT_EQ(state().installedCount, 2 + static_cast<int>(c.ran.size()));
    const std::string last = c.ran.empty() ? "|(none)|" : c.ran.back();
    EXPECT_EQ(settings->get("Ortholay", "General", "QX Start", "(none)"),
              last.substr(last.find('|') + 1, last.rfind('|') - last.find('|') - 1));
    EXPECT_EQ(dialogs.keepPaintingCalls > 0, !c.ran.empty());
  }
}

}  // namespace
}  // namespace installtest
