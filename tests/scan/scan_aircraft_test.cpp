#include "scan/scan_aircraft.h"

#include <gtest/gtest.h>

#include "scan_fixture.h"

namespace scantest {
namespace {

const std::string kFolder = "C:\\FS2002\\Aircraft\\C172\\";

const std::string kCompleteCfg =
    "[fltsim.0]\r\ntitle=Cessna 172\r\nsim=c172\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=\r\n"
    "kb_checklists=c172_check\r\nkb_reference=c172_ref\r\nchecklists=c172_list\r\n";

struct AircraftCase {
  const char* name;
  std::string cfg;                     // aircraft.cfg; empty: the complete one
  std::vector<std::string> remove;     // files below the aircraft folder
  std::vector<std::string> add;        // files below it; a trailing "\" makes a folder
  std::vector<std::string> failReads;  // files below it that cannot be read
  std::vector<std::string> lines;      // the entry's lines after its header
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const AircraftCase& c, std::ostream* os) {
  *os << c.name;
}

std::string cfgWith(const std::string& fltsimLines, const std::string& extra = {}) {
  return "[fltsim.0]\r\ntitle=Cessna 172\r\n" + fltsimLines + extra;
}

const AircraftCase kCases[] = {
    {"Complete", "", {}, {}, {}, {"Aircraft: OK"}},
    {"NoAircraftCfg", "", {"aircraft.cfg"}, {}, {}, {"Missing file: {F}aircraft.cfg"}},
    {"UnreadableAircraftCfg", "", {}, {}, {"aircraft.cfg"}, {"Cannot read file: {F}aircraft.cfg"}},
    {"NoFlightModel", "", {"C172.AIR"}, {}, {}, {"Missing file: {F}c172.air"}},
    {"FlightModelIsAFolder", "", {"C172.AIR"}, {"c172.air\\"}, {}, {"Missing file: {F}c172.air"}},
    {"HiddenVariantUsesHideKey",
     cfgWith("sim=\r\nkb_checklists=c172_check\r\n", "[Hangarpak]\r\nHide0=c172\r\n"),
     {},
     {},
     {},
     {"Aircraft: OK"}},
    {"NoFlightModelName",
     cfgWith("sim=\r\n", "[Hangarpak]\r\nHide1=c172\r\n"),
     {},
     {},
     {},
     {"AIR file not defined in: {F}aircraft.cfg"}},
    {"UnreadableModelCfg", "", {}, {}, {"model\\model.cfg"}, {"Cannot read file: {F}model\\model.cfg"}},
    {"NamedModelFolder", cfgWith("sim=c172\r\nmodel=alt\r\n"), {}, {}, {}, {"Missing file: {F}model.alt\\model.cfg"}},
    {"NoMdl", "", {"model\\C172.mdl"}, {}, {}, {"Missing file: {F}model\\c172.mdl"}},
    {"NoNormalModel", "", {}, {"model\\model.cfg"}, {}, {"Missing file: {F}model\\.mdl"}},
    {"NoPanelCfg", "", {"panel\\panel.cfg"}, {}, {}, {"Missing file: {F}panel\\panel.cfg"}},
    {"NamedPanelAndSoundFolders",
     cfgWith("sim=c172\r\npanel=ifr\r\nsound=loud\r\n"),
     {},
     {"panel.ifr\\panel.cfg"},
     {},
     {"Missing file: {F}sound.loud\\sound.cfg"}},
    {"EmptyTextureFolder", "", {"texture\\c172_t.bmp"}, {}, {}, {"Missing file: {F}texture\\*.*"}},
    {"TextureFolderWithOnlySubFolders",
     "",
     {"texture\\c172_t.bmp"},
     {"texture\\old\\c172_t.bmp"},
     {},
     {"Missing file: {F}texture\\*.*"}},
    {"NamedTextureFolder", cfgWith("sim=c172\r\ntexture=Red\r\n"), {}, {"texture.red\\red"}, {}, {"Aircraft: OK"}},
    {"NoDocuments",
     "",
     {"c172_check.txt", "c172_ref.txt", "c172_list.cfg"},
     {},
     {},
     {"Missing file: {F}c172_check.txt", "Missing file: {F}c172_ref.txt", "Missing file: {F}c172_list.cfg"}},
};

class ScanAircraftList : public ScanFixture {
 protected:
  // A complete aircraft; the files' own spelling differs in case from the
  // names aircraft.cfg gives, as it often does.
  void makeAircraft(const std::string& cfg) {
    writeFile(kFolder + "aircraft.cfg", cfg);
    writeFile(kFolder + "C172.AIR");
    writeFile(kFolder + "model\\model.cfg", "[models]\r\nnormal=c172\r\n");
    writeFile(kFolder + "model\\C172.mdl");
    writeFile(kFolder + "panel\\panel.cfg");
    writeFile(kFolder + "sound\\sound.cfg");
    writeFile(kFolder + "texture\\c172_t.bmp");
    writeFile(kFolder + "c172_check.txt");
    writeFile(kFolder + "c172_ref.txt");
    writeFile(kFolder + "c172_list.cfg");
  }
};

class ScanAircraftTest : public ScanAircraftList, public ::testing::WithParamInterface<AircraftCase> {};

TEST_P(ScanAircraftTest, ReportsEachKindOfMissingFile) {
  const AircraftCase& c = GetParam();
  makeAircraft(c.cfg.empty() ? kCompleteCfg : c.cfg);
  for (const auto& f : c.remove) removeFile(kFolder + f);
  for (const auto& f : c.add) {
    if (f.ends_with('\\'))
      makeFolder(kFolder + f);
    else
      writeFile(kFolder + f);
  }
  std::vector<std::string> unreadable;
  for (const auto& f : c.failReads) unreadable.push_back(host(kFolder + f));
  fwd.failRead = [&](std::string_view p) {
    for (const auto& u : unreadable)
      if (host(p) == u) return true;
    return false;
  };

  core::ListView flyLst;
  flyLst.add("Cessna 172", {kFolder, "0"});
  std::vector<std::string> entry{kFolder + "aircraft.cfg:  (Cessna 172)"};
  for (const auto& line : c.lines) entry.push_back(withFolder(line, kFolder));

  EXPECT_EQ(expectedReport("aircraft", {entry}), run(scan::ScanAircraft, flyLst));
  EXPECT_EQ(c.lines != std::vector<std::string>{"Aircraft: OK"} ? 1 : 0, missingFound);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScanAircraftTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanAircraftList, EachEntryIsReportedAndAMissingOneDoesNotStopTheNext) {
  core::ListView flyLst;
  EXPECT_EQ("----- Scanning for missing aircraft files -----\r\n\r\n----- Scanning done! -----",
            run(scan::ScanAircraft, flyLst));
  EXPECT_EQ(0, missingFound);

  // Two variants sharing a folder are reported separately.
  makeAircraft(kCompleteCfg + "[fltsim.1]\r\ntitle=Cessna 172 Float\r\nsim=c172f\r\ntexture=float\r\n");
  const std::string gone = "C:\\FS2002\\Aircraft\\Gone\\";
  flyLst.sorted = true;
  flyLst.add("Cessna 172 Float", {kFolder, "1"});
  flyLst.add("Cessna 172", {kFolder, "0"});
  flyLst.add("A Gone", {gone, "0"});
  EXPECT_EQ(expectedReport("aircraft",
                           {{gone + "aircraft.cfg:  (A Gone)", "Missing file: " + gone + "aircraft.cfg"},
                            {kFolder + "aircraft.cfg:  (Cessna 172)", "Aircraft: OK"},
                            {kFolder + "aircraft.cfg:  (Cessna 172 Float)", "Missing file: " + kFolder + "c172f.air",
                             "Missing file: " + kFolder + "texture.float\\*.*"}}),
            run(scan::ScanAircraft, flyLst));
  EXPECT_EQ(1, missingFound);
}

}  // namespace
}  // namespace scantest
