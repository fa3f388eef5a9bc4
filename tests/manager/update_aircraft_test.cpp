#include <gtest/gtest.h>
#include <sys/stat.h>

#include "manager/catalogue.h"
#include "manager/catalogue_fixture.h"

namespace managertest {
namespace {

using testsupport::Variant;

// What a variant's panel and sound folders hold, and what the Aircraft tab
// then takes as its current entries and shows in the choice lists.
struct CurrentCase {
  const char* name;
  const char* key;  // the variant's "panel" and "sound" value
  std::string panelBytes;
  std::string soundBytes;
  const char* panel;  // currentPanel
  const char* sound;  // currentSound
  bool listed;        // the choice lists show them (else "---Not Listed---")
};

void PrintTo(const CurrentCase& c, std::ostream* os) {
  *os << c.name;
}

class CurrentEntryTest : public CatalogueTest, public ::testing::WithParamInterface<CurrentCase> {};

TEST_P(CurrentEntryTest, ShowsTheEntryTheVariantUses) {
  const CurrentCase& c = GetParam();
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), testsupport::panelCfg("Glass cockpit"));
  writeFile(air("fsfsconv\\sound.Glass\\sound.cfg"), testsupport::soundCfg("Glass engine"));
  writeAircraft("C172", {{.title = "Skyhawk", .panel = c.key, .sound = c.key}});
  const std::string suffix = *c.key ? std::string(".") + c.key : std::string();
  if (!c.panelBytes.empty()) writeFile(air("C172\\panel" + suffix + "\\panel.cfg"), c.panelBytes);
  if (!c.soundBytes.empty()) writeFile(air("C172\\sound" + suffix + "\\sound.cfg"), c.soundBytes);
  cat.Search();

  EXPECT_EQ(state().selFolder, rowFolder("C172"));
  EXPECT_EQ(cat.currentPanel, c.panel);
  EXPECT_EQ(cat.currentSound, c.sound);
  EXPECT_EQ(cat.shownPanel, c.listed ? c.panel : "---Not Listed---");
  EXPECT_EQ(cat.shownSound, c.listed ? c.sound : "---Not Listed---");
  EXPECT_EQ(cat.panelCom.listIndex() == 0, !c.listed);
  EXPECT_EQ(cat.lydCom.listIndex() == 0, !c.listed);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, CurrentEntryTest,
    ::testing::Values(CurrentCase{"OwnFolder", "", testsupport::panelCfg(), testsupport::soundCfg(), "c172\\panel",
                                  "c172\\sound", true},
                      CurrentCase{"KeyedFolder", "IFR", testsupport::panelCfg(), testsupport::soundCfg(),
                                  "c172\\panel.ifr", "c172\\sound.ifr", true},
                      CurrentCase{"AliasInOtherCapitals", "", testsupport::aliasCfg("FSFSCONV\\Panel.Glass"),
                                  testsupport::aliasCfg("FsFsConv\\SOUND.glass"), "fsfsconv\\panel.glass",
                                  "fsfsconv\\sound.glass", true},
                      CurrentCase{"AliasWithTrailingBackslash", "", testsupport::aliasCfg("fsfsconv\\panel.glass\\"),
                                  testsupport::aliasCfg("fsfsconv\\sound.glass\\"), "fsfsconv\\panel.glass\\",
                                  "fsfsconv\\sound.glass\\", false},
                      CurrentCase{"NoWindowTitlesNoAlias", "", testsupport::panelCfgWithoutWindows(),
                                  "[Other]\r\nx=1\r\n", "---Not Listed---", "---Not Listed---", false},
                      CurrentCase{"NoConfiguration", "", "", "", "---Not Listed---", "---Not Listed---", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, FirstSectionWithTheRowsTitleIsTheVariants) {
  writeAircraft("C172", {{.title = "Alpha", .panel = "A"}, {.title = "Beta", .panel = "B"}});
  writeFile(air("C172\\panel.A\\panel.cfg"), testsupport::panelCfg());
  writeFile(air("C172\\panel.B\\panel.cfg"), testsupport::panelCfg());
  cat.Search();
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(rowOf(cat.flyLst, "Beta"));
  EXPECT_EQ(state().selSection, 1);
  EXPECT_EQ(cat.panelCom.text(), "c172\\panel.b");
}

TEST_F(CatalogueTest, HideThenUnhideRestoresSimAndLeavesTheRecordEmpty) {
  writeAircraft("C172", {{.title = "Skyhawk", .sim = "c172"}, {.title = "Floats", .sim = "c172float"}});
  cat.Search();
  const std::string cfg = air("C172\\aircraft.cfg");
  const int row = rowOf(cat.flyLst, "Floats");
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(row);
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::HiddenIcon);
  EXPECT_EQ(cfgValue(cfg, "fltsim.1", "sim"), "");
  EXPECT_EQ(cfgValue(cfg, "Hangarpak", "Hide1"), "c172float");
  EXPECT_EQ(cat.fly2Lbl.caption, "Active: 1  Total: 2");

  // A second double click without an item click in between (as on empty
  // space) does nothing.
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::HiddenIcon);

  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(row);
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::ActiveIcon);
  EXPECT_EQ(cfgValue(cfg, "fltsim.1", "sim"), "c172float");
  EXPECT_EQ(cfgValue(cfg, "Hangarpak", "Hide1"), "");
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "sim"), "c172");
}

// A title that is no longer in its file (edited outside the program) shows
// the message; the variant gets "---Not Listed---" in both lists, and
// neither a swap nor a hide writes into some other section.
TEST_F(CatalogueTest, TitleNoLongerFoundWritesNothing) {
  writeFile(air("Cessna\\panel\\panel.cfg"), testsupport::panelCfg());
  writeFile(air("Cessna\\sound\\sound.cfg"), testsupport::soundCfg());
  writeAircraft("Cessna", {{.title = "Skyhawk"}});
  writeAircraft("Piper", {{.title = "Cub"}});
  cat.Search();
  writeAircraft("Piper", {{.title = "Cub renamed"}});
  const std::string before = readFile(air("Piper\\aircraft.cfg"));

  dialogs.expectMessage(
      "Overflow error in ''UpdateAircraft''\r\n\r\nError reading: C:\\FS2002\\Aircraft\\Piper\\aircraft.cfg", "Error",
      core::Buttons::OK, core::Icon::Critical);
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(rowOf(cat.flyLst, "Cub"));
  EXPECT_EQ(cat.panelCom.listIndex(), 0);
  EXPECT_EQ(cat.shownSound, "---Not Listed---");

  cat.panelCom.userPick(1);
  cat.lydCom.userPick(1);
  cat.flyLst_DblClick();
  EXPECT_EQ(readFile(air("Piper\\aircraft.cfg")), before);
  EXPECT_FALSE(exists(air("Piper\\panel.hgrpak0")));
  EXPECT_FALSE(exists(air("Piper\\sound.hgrpak0")));
}

// A file that cannot be written keeps the variant as it was, and the list
// says so: the record of "sim" is written before "sim" is emptied, and the
// icon follows the file.
TEST_F(CatalogueTest, HideThatCannotBeWrittenChangesNothing) {
  writeAircraft("C172", {{.title = "Skyhawk", .sim = "c172"}});
  writeFile(air("C172\\panel\\panel.cfg"), testsupport::panelCfg());
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), testsupport::panelCfg("Glass"));
  cat.Search();
  const std::string cfg = air("C172\\aircraft.cfg");
  const std::string before = readFile(cfg);
  ::chmod(host(cfg).c_str(), 0444);
  ::chmod(host(air("C172")).c_str(), 0555);
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(0);
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(0).smallIcon, manager::ActiveIcon);

  // Nor does a swap point away from a panel it could not record.
  cat.panelCom.userPick(rowOf(cat.panelLst, "Glass") + 1);
  EXPECT_EQ(cat.panelCom.text(), "c172\\panel");
  EXPECT_EQ(cat.shownPanel, "c172\\panel");
  ::chmod(host(air("C172")).c_str(), 0755);
  EXPECT_EQ(readFile(cfg), before);
  EXPECT_FALSE(exists(air("C172\\panel.hgrpak0")));
}

}  // namespace
}  // namespace managertest
