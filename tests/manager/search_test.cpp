#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "manager/catalogue.h"
#include "manager/catalogue_fixture.h"
#include "support/aircraft_tree.h"

namespace managertest {
namespace {

using testsupport::fltsimSection;
using testsupport::Variant;
using Strings = std::vector<std::string>;

// Sections are listed up to the first gap or title starting with "~", two
// folder levels deep below the aircraft folder; a hidden one counts in the
// total only.
TEST_F(CatalogueTest, ListsSectionsUpToTheFirstGapOrTildeTwoLevelsDeep) {
  writeFile(air("Gap") + "\\aircraft.cfg", fltsimSection(0, {.title = "Gap 0"}) + fltsimSection(1, {.title = "Gap 1"}) +
                                               fltsimSection(3, {.title = "Gap 3"}));
  writeFile(air("Tilde") + "\\aircraft.cfg", fltsimSection(0, {.title = "Tilde 0", .sim = ""}) +
                                                 fltsimSection(1, {.title = "~Tilde 1"}) +
                                                 fltsimSection(2, {.title = "Tilde 2"}));
  writeFile(air("aircraft.cfg"), testsupport::aircraftCfg({{.title = "Level 0"}}));
  writeAircraft("Group\\Two", {{.title = "Level 2"}});
  writeAircraft("Group\\Two\\Three", {{.title = "Level 3"}});
  writeFile(air("Group\\Two\\Three\\panel\\panel.cfg"), testsupport::panelCfg());
  writeFile(air("Group\\Two\\panel.cfg"), testsupport::panelCfg());
  cat.Search();
  EXPECT_EQ(texts(cat.flyLst), (Strings{"Gap 0", "Gap 1", "Level 0", "Level 2", "Tilde 0"}));
  EXPECT_EQ(column(cat.flyLst, 1), (Strings{rowFolder("Gap"), rowFolder("Gap"), "C:\\FS2002\\Aircraft\\",
                                            rowFolder("Group\\Two"), rowFolder("Tilde")}));
  EXPECT_EQ(column(cat.flyLst, 2), (Strings{"0", "1", "0", "0", "0"}));
  EXPECT_EQ(cat.flyLst.item(rowOf(cat.flyLst, "Tilde 0")).smallIcon, manager::HiddenIcon);
  EXPECT_EQ(cat.flyLst.item(rowOf(cat.flyLst, "Gap 0")).smallIcon, manager::ActiveIcon);
  EXPECT_EQ(cat.fly2Lbl.caption, "Active: 4  Total: 5");
  EXPECT_EQ(column(cat.panelLst, 2), (Strings{"group\\two"}));
}

TEST_F(CatalogueTest, EmptyAircraftFolderGivesZeroCountsAndNoSelection) {
  state().selFolder = "untouched";
  state().selSection = 7;
  state().catalogueStale = 1;
  cat.Search();
  EXPECT_EQ(cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption, "Active: 0  Total: 0Total: 0Total: 0");
  EXPECT_EQ(cat.panelCom.items(), (Strings{"---Not Listed---"}));
  // UpdateAircraft did not run: it would have set the selection and both lists.
  EXPECT_EQ(state().selFolder, "untouched");
  EXPECT_EQ(state().selSection, 7);
  EXPECT_EQ(cat.panelCom.listIndex(), -1);
  EXPECT_EQ(state().catalogueStale, 0);
  EXPECT_FALSE(state().catalogueBusy);
}

TEST_F(CatalogueTest, PanelAndSoundEntriesWithDisplayNamesAndTotals) {
  writeFile(air("C172\\panel\\panel.cfg"), testsupport::panelCfg());
  writeFile(air("C172\\panel.IFR\\PANEL.CFG"), testsupport::panelCfg("Instrument trainer"));
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"),
            testsupport::panelCfg() + "\r\n[HANGARPAK]\r\nNAME=Glass cockpit\r\n");
  writeFile(air("C172\\panel.hgrpak0\\panel.cfg"), testsupport::aliasCfg("fsfsconv\\panel.glass"));
  writeFile(air("C172\\panel.empty\\panel.cfg"), "[fltsim]\r\nalias=\r\n");
  writeFile(air("panel.cfg"), testsupport::panelCfg("Lying loose"));
  writeFile(air("C172\\Sound\\sound.cfg"), testsupport::soundCfg("  Lycoming  "));
  cat.Search();
  EXPECT_EQ(texts(cat.panelLst), (Strings{"c172\\panel", "Glass cockpit", "Instrument trainer"}));
  EXPECT_EQ(column(cat.panelLst, 1),
            (Strings{rowFolder("C172\\panel"), rowFolder("fsfsconv\\panel.Glass"), rowFolder("C172\\panel.IFR")}));
  EXPECT_EQ(column(cat.panelLst, 2), (Strings{"c172\\panel", "fsfsconv\\panel.glass", "c172\\panel.ifr"}));
  EXPECT_EQ(cat.panel2Lbl.caption, "Total: 3");
  EXPECT_EQ(cat.panelCom.items(), (Strings{"---Not Listed---", "c172\\panel", "Glass cockpit", "Instrument trainer"}));
  EXPECT_EQ(texts(cat.lydLst), (Strings{"Lycoming"}));
  EXPECT_EQ(column(cat.lydLst, 2), (Strings{"c172\\sound"}));
  EXPECT_EQ(cat.lyd2Lbl.caption, "Total: 1");
}

// The 1000th titled section of one file shows the message and ends that
// file; the rest of the catalogue is still listed and the program goes on.
TEST_F(CatalogueTest, ThousandthSectionStopsThatFileOnly) {
  std::string big;
  for (int n = 0; n < 1005; ++n) big += "[fltsim." + std::to_string(n) + "]\r\ntitle=Big " + std::to_string(n) + "\r\n";
  writeFile(air("Big\\aircraft.cfg"), big);
  writeAircraft("Small", {{.title = "Small"}});
  dialogs.expectMessage("Overflow error in ''Search''\r\n\r\nError reading: C:\\FS2002\\Aircraft\\Big\\aircraft.cfg",
                        "Error", core::Buttons::OK, core::Icon::Critical);
  EXPECT_NO_THROW(cat.Search());
  EXPECT_EQ(cat.flyLst.count(), 1001);
  EXPECT_EQ(cat.flyLst.item(rowOf(cat.flyLst, "Big 999")).subItem(2), "999");
  EXPECT_EQ(rowOf(cat.flyLst, "Small"), 1000);
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(state().catalogueStale, 0);
}

// Reading each file once gives the very rows that one read per key gives,
// also for values that test the parser: quotes, blanks, case, repeated
// sections and keys, long titles in the 8-bit code page.
TEST_F(CatalogueTest, OneReadPerFileGivesWhatKeyByKeyReadsGive) {
  testsupport::writeAircraftTree(host(air("")), 12, 3);
  const std::string longTitle(150, 'x');
  writeFile(air("Odd\\aircraft.cfg"),
            "[FLTSIM.0]\r\n  Title  =  \"Quoted\"  \r\nsim=\r\n[fltsim.0]\r\ntitle=Second copy\r\n"
            "[fltsim.1]\r\ntitle=\xC9" +
                longTitle + "\xE9" + longTitle +
                "\r\ntitle=Repeated key\r\nsim = x \r\n"
                "[fltsim.2]\r\ntitle='single'\r\n[ fltsim.3 ]\r\ntitle=Blank name\r\n[fltsim.4]\r\ntitle=\"\r\n");
  writeFile(air("Odd\\panel\\panel.cfg"), "[FltSim]\r\nALIAS=Err\r\n[hangarpak]\r\nname=\"  Spaced  \"\r\n");
  writeFile(air("Odd\\sound\\sound.cfg"), "[Hangarpak]\r\nName=\xE6\xF8\xE5\r\n");
  cat.Search(manager::ProfileReads::KeyByKey);
  const auto rows = [](const core::ListView& l) {
    std::vector<std::tuple<std::string, std::string, std::string, int>> out;
    for (const auto& r : l.items()) out.emplace_back(r.text, r.subItem(1), r.subItem(2), r.smallIcon);
    return out;
  };
  const auto fly = rows(cat.flyLst), panels = rows(cat.panelLst), sounds = rows(cat.lydLst);
  const auto labels = cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption;
  ASSERT_EQ(fly.size(), 12u * 3u + 5u);
  cat.Search(manager::ProfileReads::OncePerFile);
  EXPECT_EQ(rows(cat.flyLst), fly);
  EXPECT_EQ(rows(cat.panelLst), panels);
  EXPECT_EQ(rows(cat.lydLst), sounds);
  EXPECT_EQ(cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption, labels);
  EXPECT_EQ(cat.flyLst.item(rowOf(cat.flyLst, "Quoted")).smallIcon, manager::HiddenIcon);
  // An alias key whose value is "Err" reads like a missing one, both ways.
  const auto relatives = column(cat.panelLst, 2);
  EXPECT_NE(std::find(relatives.begin(), relatives.end(), "odd\\panel"), relatives.end());
}

}  // namespace
}  // namespace managertest
