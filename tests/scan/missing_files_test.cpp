#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "manager/catalogue.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "scan/scan_panels.h"
#include "scan/scan_sounds.h"
#include "scan_fixture.h"

namespace scantest {
namespace {

const std::string kAircraft = "C:\\FS2002\\Aircraft\\C172\\";
const std::string kTitleLine = "[fltsim.0]\r\ntitle=Cessna 172\r\n";
const std::string kCompleteCfg = kTitleLine +
                                 "sim=c172\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n"
                                 "kb_checklists=chk\r\nkb_reference=ref\r\nchecklists=lst\r\n";

// What a scan walks: one list of the catalogue, in this order.
struct Lists {
  std::vector<manager::AircraftVariant> variants;
  std::vector<manager::PanelEntry> panels;
  std::vector<manager::SoundEntry> sounds;
  // An entry of the kind's list, or a variant's section 0.
  void add(const std::string& kind, const std::string& name, const std::string& folder) {
    if (kind == "aircraft")
      variants.push_back({.title = name, .folder = folder, .section = 0, .hidden = false, .panel = {}, .sound = {}});
    else if (kind == "panel")
      panels.push_back({{name, folder, ""}});
    else
      sounds.push_back({{name, folder, ""}});
  }
};
std::string okLine(std::string kind) {
  kind[0] = static_cast<char>(std::toupper(kind[0]));
  return kind + ": OK";
}

class ScanTest : public ScanFixture {
 protected:
  // A complete aircraft; the files' own spelling differs in case from the
  // names aircraft.cfg gives, as it often does.
  void makeAircraft(const std::string& cfg) {
    writeFile(kAircraft + "aircraft.cfg", cfg);
    writeFile(kAircraft + "model\\model.cfg", "[models]\r\nnormal=c172\r\n");
    for (const char* file : {"C172.AIR", "model\\C172.mdl", "panel\\panel.cfg", "sound\\sound.cfg",
                             "texture\\c172_t.bmp", "chk.txt", "ref.txt", "lst.cfg"})
      writeFile(kAircraft + file);
  }
  void makeUnreadable(const std::vector<std::string>& windowsPaths) {
    std::vector<std::string> hosts;
    for (const auto& p : windowsPaths) hosts.push_back(host(p));
    fwd.failRead = [this, hosts](std::string_view p) { return std::ranges::count(hosts, host(p)) > 0; };
  }
  // Runs one scan over a report box still holding an earlier scan's text and
  // returns the new text; the flag is left in missingFound, each progress
  // call with the text the box held then in progress.
  std::string run(const std::string& kind, const Lists& lists, std::chrono::milliseconds interval = {}) {
    std::string text = "stale text of an earlier scan";
    missingFound = 0;
    progress.clear();
    scan::ReportBox box(
        text, missingFound, [&](int done, int total) { progress.emplace_back(done, total, text); }, interval);
    if (kind == "aircraft")
      scan::ScanAircraft(scanCtx(), lists.variants, box);
    else if (kind == "panel")
      scan::ScanPanels(scanCtx(), lists.panels, box);
    else
      scan::ScanSounds(scanCtx(), lists.sounds, box);
    result = box.result();
    heading = box.heading();
    return text;
  }

  int missingFound = 0;
  scan::ScanResult result;
  std::string heading;
  std::vector<std::tuple<int, int, std::string>> progress;
};

// One aircraft (after its title line; "" the complete one), panel or sound
// set, the changes to its folder ("-" removes a file, "!" makes it
// unreadable, "+" adds it, or a folder when it ends in "\") and its report
// lines: none when it is OK, a missing file for a line that starts with a
// path. "{F}" stands for its folder, "{S}" for the simulator's.
struct Case {
  const char* name;
  std::string cfg;
  std::vector<std::string> changes;
  std::vector<std::string> lines;
  std::string kind = "aircraft";
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

const Case kCases[] = {
    {"Complete", "", {}, {}},
    {"NoAircraftCfg", "", {"-aircraft.cfg"}, {"{F}aircraft.cfg"}},
    {"UnreadableAircraftCfg", "", {"!aircraft.cfg"}, {"Cannot read file: {F}aircraft.cfg"}},
    {"NoFlightModel", "", {"-C172.AIR"}, {"{F}c172.air"}},
    {"FlightModelIsAFolder", "", {"-C172.AIR", "+c172.air\\"}, {"{F}c172.air"}},
    {"HiddenUsesHideKey", "sim=\r\nkb_checklists=chk\r\n[Hangarpak]\r\nHide0=c172\r\n", {}, {}},
    {"NoAirName", "sim=\r\n[Hangarpak]\r\nHide1=c172\r\n", {}, {"AIR file not defined in: {F}aircraft.cfg"}},
    {"UnreadableModelCfg", "", {"!model\\model.cfg"}, {"Cannot read file: {F}model\\model.cfg"}},
    {"NamedModelFolder", "sim=c172\r\nmodel=alt\r\n", {}, {"{F}model.alt\\model.cfg"}},
    {"NoMdl", "", {"-model\\C172.mdl"}, {"{F}model\\c172.mdl"}},
    {"NoNormalModel", "", {"+model\\model.cfg"}, {"{F}model\\.mdl"}},
    {"NoPanelCfg", "", {"-panel\\panel.cfg"}, {"{F}panel\\panel.cfg"}},
    {"NamedPanelSound", "sim=c172\r\npanel=i\r\nsound=l\r\n", {"+panel.i\\panel.cfg"}, {"{F}sound.l\\sound.cfg"}},
    {"EmptyTextureFolder", "", {"-texture\\c172_t.bmp"}, {"{F}texture\\*.*"}},
    {"TextureInSubFolderOnly", "", {"-texture\\c172_t.bmp", "+texture\\old\\t.bmp"}, {"{F}texture\\*.*"}},
    {"NamedTextureFolder", "sim=c172\r\ntexture=Red\r\n", {"+texture.red\\red"}, {}},
    {"NoDocuments", "", {"-chk.txt", "-ref.txt", "-lst.cfg"}, {"{F}chk.txt", "{F}ref.txt", "{F}lst.cfg"}},
    // Names may lead into another aircraft's folder, never out of the aircraft folder.
    {"PanelOfAnotherAircraft",
     "sim=c172\r\npanel=\\..\\..\\Other\\panel\r\n",
     {"+{S}Aircraft\\Other\\panel\\panel.cfg"},
     {}},
    {"PanelOutsideTheAircraftFolder",
     "sim=c172\r\npanel=\\..\\..\\..\\Outside\r\n",
     {"+{S}Outside\\panel.cfg"},
     {"{F}panel.\\..\\..\\..\\Outside\\panel.cfg"}},
    {"TextureOutsideTheAircraftFolder",
     "sim=c172\r\ntexture=\\..\\..\\..\\Texture\r\n",
     {"+{S}Texture\\sky.bmp"},
     {"{F}texture.\\..\\..\\..\\Texture\\*.*"}},
    {"DocumentOutsideTheAircraftFolder",
     "sim=c172\r\nkb_checklists=..\\..\\Outside\\chk\r\n",
     {"+{S}Outside\\chk.txt"},
     {"{F}..\\..\\Outside\\chk.txt"}},
    {"EmptyPanelCfg", "", {}, {}, "panel"},
    {"BitmapPresent", "[Window00]\r\nfile=Day.bmp\r\n", {"+day.BMP"}, {}, "panel"},
    {"BitmapMissing", "[Window00]\r\nfile = night.bmp \r\n", {}, {"{F}night.bmp"}, "panel"},
    {"LongerFileKey", "[Window00]\r\nFILE_1024=big.bmp\r\n", {}, {"{F}big.bmp"}, "panel"},
    {"FileFieldWithoutEquals", "file_day\r\n", {}, {"{F}file_day"}, "panel"},
    {"QuotedField", "\"file=night.bmp\"\r\n", {}, {"{F}night.bmp"}, "panel"},
    {"BlanksBeforeGauge", "\tgauge00=Cessna!Attitude, 20, 30\r\n", {}, {"{S}gauges\\Cessna.gau (cab)"}, "panel"},
    {"GaugeWithBang", "gauge01= Bendix King ! Radio ,10,20\r\n", {}, {"{S}gauges\\Bendix King.gau (cab)"}, "panel"},
    {"GaugeOnlyAsCab", "gauge01=radios!com,10,20\r\n", {"+{S}Gauges\\Radios.CAB"}, {}, "panel"},
    {"GaugeWithoutEquals", "gauge02\r\n", {}, {}, "panel"},
    {"GaugeWithEmptyName", "gauge03=!x,1,1\r\n", {}, {"{S}gauges\\.gau (cab)"}, "panel"},
    {"GaugeInPanelFolder", "gauge03=own,1,1\r\n", {"+own.gau"}, {"{S}gauges\\own.gau (cab)"}, "panel"},
    {"UpDirBitmap", "file=..\\..\\Other\\panel\\a.bmp\r\n", {"+{S}Aircraft\\Other\\Panel\\a.bmp"}, {}, "panel"},
    {"UpDirBitmapMissing", "file=..\\..\\Other\\panel\\b.bmp\r\n", {}, {"{S}aircraft\\Other\\panel\\b.bmp"}, "panel"},
    {"BitmapOutsideTheAircraftFolder",
     "file=..\\..\\..\\Texture\\a.bmp\r\n",
     {"+{S}Texture\\a.bmp"},
     {"{S}aircraft\\..\\Texture\\a.bmp"},
     "panel"},
    {"GaugeOutsideTheGaugesFolder",
     "gauge00=..\\Outside\\g!x,1,1\r\n",
     {"+{S}Outside\\g.gau"},
     {"{S}gauges\\..\\Outside\\g.gau (cab)"},
     "panel"},
    {"GaugeInASubFolder", "gauge00=LVLD\\B767oh!OH,816,0\r\n", {"+{S}Gauges\\LVLD\\B767oh.gau"}, {}, "panel"},
    {"Several", "file=a\r\ngauge0=g!x,1,2\r\nfile=b.bmp", {}, {"{F}a", "{S}gauges\\g.gau (cab)", "{F}b.bmp"}, "panel"},
    {"EmptySoundCfg", "", {}, {}, "sound"},
    {"WaveInOwnFolder", "[ENGINE]\r\nfilename=engine\r\nflags=0\r\n", {"+Engine.WAV"}, {}, "sound"},
    {"WaveMissing", "[ENGINE]\r\nfilename=engine\r\n", {}, {"{F}engine.wav"}, "sound"},
    {"WaveInSimulatorSoundFolder", "filename=stall\r\n", {"+{S}Sound\\stall.wav"}, {}, "sound"},
    {"FirstNameFoundEndsTheLine", "filename=a, b, c\r\n", {"+a.wav"}, {}, "sound"},
    {"MissingUntilOneIsFound", "filename= a ,b,c\r\n", {"+{S}Sound\\b.wav"}, {"{F}a.wav"}, "sound"},
    {"AllNamesMissing", "filename=a,b,c\r\n", {}, {"{F}a.wav", "{F}b.wav", "{F}c.wav"}, "sound"},
    {"WaveOutsideTheAircraftFolder",
     "filename=..\\..\\..\\Outside\\w\r\n",
     {"+{S}Outside\\w.wav"},
     {"{F}..\\..\\..\\Outside\\w.wav"},
     "sound"},
    {"BlanksBeforeFilename", "[ENGINE]\r\n   filename=gone\r\n\tfilename=gone2\r\n", {}, {}, "sound"},
    {"LongerKeyCounts", "filename2=gone\r\n", {}, {"{F}gone.wav"}, "sound"},
    {"FilenameWithoutEquals", "filename\r\n", {}, {}, "sound"},
    {"WaveIsAFolder", "filename=engine\r\n", {"+engine.wav\\x"}, {"{F}engine.wav"}, "sound"},
    {"LastLineWithoutLineEnd", "filename=a\r\nfilename=b", {"+a.wav"}, {"{F}b.wav"}, "sound"},
};

class ScanCaseTest : public ScanTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ScanCaseTest, ReportsEachMissingFile) {
  const Case& c = GetParam();
  const bool aircraft = c.kind == "aircraft";
  const std::string folder = aircraft ? kAircraft : kAircraft + c.kind + "\\";
  const std::string cfg = folder + (aircraft ? "aircraft" : c.kind) + ".cfg";
  if (aircraft)
    makeAircraft(c.cfg.empty() ? kCompleteCfg : kTitleLine + c.cfg);
  else
    writeFile(cfg, c.cfg);
  std::vector<std::string> unreadable;
  for (const auto& change : c.changes) {
    const std::string path = (change[1] == '{' ? "" : folder) + expand(change.substr(1), folder);
    if (change[0] == '-')
      std::filesystem::remove(host(path));
    else if (change[0] == '!')
      unreadable.push_back(path);
    else if (path.ends_with('\\'))
      std::filesystem::create_directories(host(path));
    else
      writeFile(path);
  }
  makeUnreadable(unreadable);
  Lists lst;
  lst.add(c.kind, "Cessna 172", folder);
  std::vector<std::string> entry{cfg + (aircraft ? ":  (Cessna 172)" : ":")};
  for (const auto& line : c.lines) entry.push_back((line[0] == '{' ? "Missing file: " : "") + expand(line, folder));
  if (c.lines.empty()) entry.push_back(okLine(c.kind));
  EXPECT_EQ(expectedReport(c.kind, {entry}), run(c.kind, lst));
  EXPECT_EQ(c.lines.empty() ? 0 : 1, missingFound);

  // The typed result holds the same findings: each line above is written
  // from the problem it records.
  ASSERT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.entries[0].configFile, cfg);
  EXPECT_EQ(result.entries[0].title, aircraft ? std::optional<std::string>("Cessna 172") : std::nullopt);
  EXPECT_EQ(result.entries[0].problems.size(), c.lines.size());
  // Written again from it, the entry stays in the missing-files-only view
  // exactly as the box wrote it when it has a missing file.
  const bool missing = std::ranges::any_of(c.lines, [](const std::string& l) { return l[0] == '{'; });
  EXPECT_EQ(expectedReport(c.kind, missing ? std::vector<std::vector<std::string>>{entry}
                                           : std::vector<std::vector<std::string>>{}),
            scan::MissingOnlyReport(heading, result));
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Two variants sharing a folder are reported separately; a missing one does
// not stop the next.
TEST_F(ScanTest, EveryAircraftOfTheListIsReportedInOrder) {
  makeAircraft(kCompleteCfg + "[fltsim.1]\r\ntitle=Cessna 172 Float\r\nsim=c172f\r\ntexture=float\r\n");
  const std::string gone = "C:\\FS2002\\Aircraft\\Gone\\";
  Lists flyLst;
  flyLst.add("aircraft", "A Gone", gone);
  flyLst.add("aircraft", "Cessna 172", kAircraft);
  flyLst.add("aircraft", "Cessna 172 Float", kAircraft);
  flyLst.variants.back().section = 1;
  EXPECT_EQ(expectedReport("aircraft", {{gone + "aircraft.cfg:  (A Gone)", "Missing file: " + gone + "aircraft.cfg"},
                                        {kAircraft + "aircraft.cfg:  (Cessna 172)", "Aircraft: OK"},
                                        {kAircraft + "aircraft.cfg:  (Cessna 172 Float)",
                                         "Missing file: " + kAircraft + "c172f.air",
                                         "Missing file: " + kAircraft + "texture.float\\*.*"}}),
            run("aircraft", flyLst));
  EXPECT_EQ(1, missingFound);
}

// Entries are reported in list order, an unreadable or missing configuration
// as such, names in the Windows code page in UTF-8. The progress hook sees
// each entry done, or within its interval the start and the last one only.
TEST_F(ScanTest, EveryPanelAndSoundOfTheListIsReportedInOrder) {
  for (const std::string kind : {"panel", "sound"}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(expectedReport(kind, {}), run(kind, Lists{}));
    const auto cfg = [&](const char* aircraft) { return "C:\\FS2002\\Aircraft\\" + (aircraft + ("\\" + kind)); };
    writeFile(cfg("B") + "\\" + kind + ".cfg");
    writeFile(cfg("C") + "\\" + kind + ".cfg", kind == "panel" ? "file=m\xe9t\xe9o.bmp" : "filename=m\xe9t\xe9o");
    writeFile(cfg("A") + "\\" + kind + ".cfg");
    makeUnreadable({cfg("B") + "\\" + kind + ".cfg"});
    Lists lst;
    for (const char* aircraft : {"B", "C", "Gone", "A"}) lst.add(kind, aircraft, cfg(aircraft) + "\\");
    const std::vector<std::vector<std::string>> entries = {
        {cfg("B") + "\\" + kind + ".cfg:", "Cannot read file: " + cfg("B") + "\\" + kind + ".cfg"},
        {cfg("C") + "\\" + kind + ".cfg:",
         "Missing file: " + cfg("C") + "\\m\xc3\xa9t\xc3\xa9o" + (kind == "panel" ? ".bmp" : ".wav")},
        {cfg("Gone") + "\\" + kind + ".cfg:", "Cannot read file: " + cfg("Gone") + "\\" + kind + ".cfg"},
        {cfg("A") + "\\" + kind + ".cfg:", okLine(kind)}};
    EXPECT_EQ(expectedReport(kind, entries), run(kind, lst));
    EXPECT_EQ(1, missingFound);

    decltype(progress) each;
    for (int done = 0; done <= 4; ++done) {
      const std::string shown = expectedReport(kind, {entries.begin(), entries.begin() + done});
      each.emplace_back(done, 4, shown.substr(0, shown.size() - kScanDone.size()));
    }
    EXPECT_EQ(each, progress);
    run(kind, lst, std::chrono::hours(1));
    EXPECT_EQ((decltype(progress){each.front(), each.back()}), progress);
  }
}

}  // namespace
}  // namespace scantest
