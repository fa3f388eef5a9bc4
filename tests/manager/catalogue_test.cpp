#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "core/text.h"
#include "manager/catalogue_fixture.h"
#include "support/aircraft_tree.h"
#include "support/tree_snapshot.h"

namespace managertest {
namespace {

using testsupport::aliasCfg;
using testsupport::fltsimSection;
using testsupport::panelCfg;
using testsupport::soundCfg;

const std::string kNone = "---Not Listed---|---Not Listed---";

// Sections are listed up to the first gap or title starting with "~", from
// the aircraft folder and two folder levels below it; a hidden one counts in
// the total only. An entry is a panel or sound configuration in a folder of
// its own, named by "Hangarpak"/"Name" or else by its folder; alias
// configurations are none.
TEST_F(CatalogueTest, ListsSectionsAndEntriesTwoLevelsDeep) {
  writeFile(air("Gap\\aircraft.cfg"), fltsimSection(0, {.title = "Gap 0"}) + fltsimSection(1, {.title = "Gap 1"}) +
                                          fltsimSection(3, {.title = "Gap 3"}));
  writeFile(air("Tilde\\aircraft.cfg"), fltsimSection(0, {.title = "Tilde 0", .sim = ""}) +
                                            fltsimSection(1, {.title = "~Tilde 1"}) +
                                            fltsimSection(2, {.title = "Tilde 2"}));
  writeFile(air("aircraft.cfg"), testsupport::aircraftCfg({{.title = "Level 0"}}));
  writeAircraft("Group\\Two", {{.title = "Level 2"}});
  writeAircraft("Group\\Two\\Three", {{.title = "Level 3"}});
  writeFile(air("Group\\Two\\Three\\panel\\panel.cfg"), panelCfg());
  writeFile(air("Group\\Two\\panel.cfg"), panelCfg());
  writeFile(air("C172\\panel.IFR\\PANEL.CFG"), panelCfg("Instrument trainer"));
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg() + "\r\n[HANGARPAK]\r\nNAME=Glass cockpit\r\n");
  writeFile(air("C172\\panel.hgrpak0\\panel.cfg"), aliasCfg("fsfsconv\\panel.glass"));
  writeFile(air("C172\\panel.empty\\panel.cfg"), "[fltsim]\r\nalias=\r\n");
  writeFile(air("panel.cfg"), panelCfg("Lying loose"));
  writeFile(air("C172\\Sound\\sound.cfg"), soundCfg("  Lycoming  "));
  cat.Search();
  EXPECT_EQ(rows(cat.flyLst, true),
            (Strings{"Gap 0|" + air("Gap\\|0|1"), "Gap 1|" + air("Gap\\|1|1"), "Level 0|" + air("|0|1"),
                     "Level 2|" + air("Group\\Two\\|0|1"), "Tilde 0|" + air("Tilde\\|0|2")}));
  EXPECT_EQ(rows(cat.panelLst), (Strings{"Glass cockpit|" + air("fsfsconv\\panel.Glass\\|fsfsconv\\panel.glass"),
                                         "group\\two|" + air("Group\\Two\\|group\\two"),
                                         "Instrument trainer|" + air("C172\\panel.IFR\\|c172\\panel.ifr")}));
  EXPECT_EQ(cat.panelCom.items(), (Strings{"---Not Listed---", "Glass cockpit", "group\\two", "Instrument trainer"}));
  EXPECT_EQ(rows(cat.lydLst), (Strings{"Lycoming|" + air("C172\\Sound\\|c172\\sound")}));
  EXPECT_EQ(cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption, "Active: 4  Total: 5Total: 3Total: 1");
}

TEST_F(CatalogueTest, EmptyAircraftFolderGivesZeroCountsAndNoSelection) {
  state().selFolder = "untouched";
  state().selSection = 7;
  state().catalogueStale = 1;
  cat.Search();
  EXPECT_EQ(cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption, "Active: 0  Total: 0Total: 0Total: 0");
  EXPECT_EQ(cat.panelCom.items(), (Strings{"---Not Listed---"}));
  // UpdateAircraft did not run: it would have set the selection and both lists.
  EXPECT_EQ(state().selFolder + std::to_string(state().selSection), "untouched7");
  EXPECT_EQ(cat.panelCom.listIndex(), -1);
  EXPECT_EQ(state().catalogueStale, 0);
  EXPECT_FALSE(state().catalogueBusy);
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
// sections and keys, long titles in the 8-bit code page. An alias key whose
// value is "Err" reads like a missing one, both ways.
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
  const Strings fly = rows(cat.flyLst, true), panels = rows(cat.panelLst), sounds = rows(cat.lydLst);
  const auto labels = cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption;
  ASSERT_EQ(fly.size(), 12u * 3u + 5u);
  cat.Search(manager::ProfileReads::OncePerFile);
  EXPECT_EQ(rows(cat.flyLst, true), fly);
  EXPECT_EQ(rows(cat.panelLst), panels);
  EXPECT_EQ(rows(cat.lydLst), sounds);
  EXPECT_EQ(cat.fly2Lbl.caption + cat.panel2Lbl.caption + cat.lyd2Lbl.caption, labels);
  EXPECT_EQ(cat.flyLst.item(rowOf(cat.flyLst, "Quoted")).smallIcon, manager::HiddenIcon);
  EXPECT_TRUE(std::ranges::any_of(panels, [](const auto& row) { return row.ends_with("|odd\\panel"); }));
}

// What a variant's panel and sound folders hold decides the entries it uses
// (currentPanel|currentSound); the choice lists show them if listed.
TEST_F(CatalogueTest, ShowsTheEntriesTheVariantUses) {
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg("Glass cockpit"));
  writeFile(air("fsfsconv\\sound.Glass\\sound.cfg"), soundCfg("Glass engine"));
  const struct {
    std::string title;  // also its folder
    const char* key;    // the variant's "panel" and "sound" value
    std::string panel, sound;
    std::string current;
    bool listed;
  } cases[] = {{"Own", "", panelCfg(), soundCfg(), "own\\panel|own\\sound", true},
               {"Keyed", "IFR", panelCfg(), soundCfg(), "keyed\\panel.ifr|keyed\\sound.ifr", true},
               {"Capitals", "", aliasCfg("FSFSCONV\\Panel.Glass"), aliasCfg("FsFsConv\\SOUND.glass"),
                "fsfsconv\\panel.glass|fsfsconv\\sound.glass", true},
               {"Backslash", "", aliasCfg("fsfsconv\\panel.glass\\"), aliasCfg("fsfsconv\\sound.glass\\"),
                "fsfsconv\\panel.glass\\|fsfsconv\\sound.glass\\", false},
               {"NoMarker", "", testsupport::panelCfgWithoutWindows(), "[Other]\r\nx=1\r\n", kNone, false},
               {"NoConfiguration", "", "", "", kNone, false}};
  for (const auto& c : cases) {
    writeAircraft(c.title, {{.title = c.title, .panel = c.key, .sound = c.key}});
    const std::string suffix = *c.key ? std::string(".") + c.key : "";
    if (!c.panel.empty()) writeFile(air(c.title + "\\panel" + suffix + "\\panel.cfg"), c.panel);
    if (!c.sound.empty()) writeFile(air(c.title + "\\sound" + suffix + "\\sound.cfg"), c.sound);
  }
  cat.Search();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    selectVariant(c.title);
    EXPECT_EQ(state().selFolder, air(c.title + "\\"));
    EXPECT_EQ(cat.currentPanel + "|" + cat.currentSound, c.current);
    EXPECT_EQ(cat.shownPanel + "|" + cat.shownSound, c.listed ? c.current : kNone);
    EXPECT_EQ(std::pair(cat.panelCom.listIndex() == 0, cat.lydCom.listIndex() == 0), std::pair(!c.listed, !c.listed));
  }
}

// A double click hides the selected variant (its "sim" moves to
// "Hangarpak"/"Hide" + N) and unhides it again (the record stays, empty);
// one without an item click before it does nothing.
TEST_F(CatalogueTest, HideThenUnhideRestoresSimAndLeavesTheRecordEmpty) {
  writeAircraft("C172", {{.title = "Skyhawk", .sim = "c172"}, {.title = "Floats", .sim = "c172float"}});
  cat.Search();
  const std::string cfg = air("C172\\aircraft.cfg");
  const int row = rowOf(cat.flyLst, "Floats");
  selectVariant("Floats");
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::HiddenIcon);
  EXPECT_EQ(cfgValue(cfg, "fltsim.1", "sim") + "|" + cfgValue(cfg, "Hangarpak", "Hide1"), "|c172float");
  EXPECT_EQ(cat.fly2Lbl.caption, "Active: 1  Total: 2");

  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::HiddenIcon);

  selectVariant("Floats");
  cat.flyLst_DblClick();
  EXPECT_EQ(cat.flyLst.item(row).smallIcon, manager::ActiveIcon);
  EXPECT_EQ(cfgValue(cfg, "fltsim.1", "sim") + "|" + cfgValue(cfg, "Hangarpak", "Hide1"), "c172float|");
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "sim"), "c172");
}

// A variant whose title is no longer in its file (edited outside the
// program) shows the message and "---Not Listed---"; one whose file cannot
// be written keeps its entry, whether or not an earlier swap recorded it.
// Neither a hide nor a swap then writes, into some other section or away
// from an entry it could not record, nor shows a swap that did not happen.
TEST_F(CatalogueTest, HideAndSwapThatCannotWriteChangeNothing) {
  const std::string cfg = air("C172\\aircraft.cfg");
  for (const std::string arrangement : {"title gone", "read-only", "read-only after a swap and its undo"}) {
    SCOPED_TRACE(arrangement);
    const bool titleGone = arrangement == "title gone";
    writeAircraft("C172", {{.title = "Skyhawk", .sim = "c172"}});
    writeFile(air("C172\\panel\\panel.cfg"), panelCfg());
    writeFile(air("C172\\sound\\sound.cfg"), soundCfg());
    writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg("Glass"));
    writeFile(air("fsfsconv\\sound.Glass\\sound.cfg"), soundCfg("Glass"));
    cat.Search();
    if (arrangement == "read-only after a swap and its undo") {
      selectVariant("Skyhawk");
      cat.panelCom.userPick(rowOf(cat.panelLst, "Glass") + 1);
      cat.panelCom.userPick(rowOf(cat.panelLst, "c172\\panel") + 1);
      ASSERT_EQ(cat.shownPanel, "c172\\panel");
      ASSERT_EQ(cfgValue(cfg, "Hangarpak", "OrgPanel0"), "c172\\panel");
    }
    if (titleGone) {
      writeAircraft("C172", {{.title = "Skyhawk renamed", .sim = "c172"}});
      dialogs.expectMessage("Overflow error in ''UpdateAircraft''\r\n\r\nError reading: " + cfg, "Error",
                            core::Buttons::OK, core::Icon::Critical);
    } else {
      ::chmod(host(cfg).c_str(), 0444);
      ::chmod(host(air("C172")).c_str(), 0555);
    }
    const std::string before = readFile(cfg);
    const std::string shown = titleGone ? kNone : "c172\\panel|c172\\sound";
    selectVariant("Skyhawk");
    EXPECT_EQ(cat.shownPanel + "|" + cat.shownSound, shown);
    cat.panelCom.userPick(rowOf(cat.panelLst, "Glass") + 1);
    cat.lydCom.userPick(rowOf(cat.lydLst, "Glass") + 1);
    cat.flyLst_DblClick();
    EXPECT_EQ(cat.flyLst.item(0).smallIcon, manager::ActiveIcon);
    EXPECT_EQ(cat.shownPanel + "|" + cat.shownSound, shown);
    EXPECT_EQ(cat.panelCom.text() + "|" + cat.lydCom.text(), shown);
    ::chmod(host(air("C172")).c_str(), 0755);
    ::chmod(host(cfg).c_str(), 0644);
    EXPECT_EQ(readFile(cfg), before);
    EXPECT_FALSE(exists(air("C172\\panel.hgrpak0")) || exists(air("C172\\sound.hgrpak0")));
    EXPECT_TRUE(dialogs.done());
  }
}

// The names by which the panel and the sound swap differ.
struct Twin {
  const char* key;        // "panel" / "sound"
  const char* origKey;    // "OrgPanel"
  const char* suffixKey;  // "OrgPanInt"
  core::ComboBox manager::Catalogue::*com;
  core::ListView manager::Catalogue::*lst;
  std::string manager::Catalogue::*shown;
  std::string (*config)(std::string_view);
};

// C172 with section 0 on its own panel and sound folders, section 1
// untouched and section 2 on "panel.IFR" and "sound.IFR"; two entries P and
// Q of each in the store of separately installed ones.
class SwapTest : public CatalogueTest {
 protected:
  SwapTest() {
    writeAircraft(
        "C172",
        {{.title = "Skyhawk"}, {.title = "Skyhawk II"}, {.title = "Skyhawk IFR", .panel = "IFR", .sound = "IFR"}});
    for (const Twin& twin : kTwins) {
      t = &twin;
      writeFile(ownFile(), t->config(""));
      writeFile(air("C172\\" + key() + ".IFR\\" + file()), t->config(""));
      writeFile(air("fsfsconv\\" + key() + ".P\\" + file()), t->config("Entry P"));
      writeFile(air("fsfsconv\\" + key() + ".Q\\" + file()), t->config("Entry Q"));
    }
    cat.Search();
  }

  std::string key() const { return t->key; }
  std::string file() const { return key() + ".cfg"; }
  std::string ownFile() const { return air("C172\\" + key() + "\\" + file()); }
  std::string shown() { return cat.*t->shown; }
  std::string own(const std::string& suffix = "") const { return "c172\\" + key() + suffix; }
  std::string entry(const char* letter) const { return "fsfsconv\\" + key() + "." + letter; }
  // What the user does: picks the entry with that relative folder.
  void pick(const std::string& relative) {
    const auto& lst = cat.*t->lst;
    for (int i = 0; i < lst.count(); ++i)
      if (lst.item(i).subItem(2) == relative) return (cat.*t->com).userPick(i + 1);
    FAIL() << "no entry " << relative;
  }
  std::string aliasFile(int n) const { return air("C172\\" + key() + ".hgrpak" + std::to_string(n) + "\\" + file()); }
  static std::string aliasTo(const std::string& entry) { return "[fltsim]\r\nalias=" + entry + "\r\n"; }
  // The records origKey + N and suffixKey + N, and the section's key.
  std::string records(int n) {
    const std::string cfg = air("C172\\aircraft.cfg"), number = std::to_string(n);
    return cfgValue(cfg, "Hangarpak", t->origKey + number) + "|" + cfgValue(cfg, "Hangarpak", t->suffixKey + number) +
           "|" + cfgValue(cfg, "fltsim." + number, key());
  }

  static constexpr Twin kTwins[] = {
      {"panel", "OrgPanel", "OrgPanInt", &manager::Catalogue::panelCom, &manager::Catalogue::panelLst,
       &manager::Catalogue::shownPanel, [](std::string_view name) { return panelCfg(name); }},
      {"sound", "OrgLyd", "OrgLydInt", &manager::Catalogue::lydCom, &manager::Catalogue::lydLst,
       &manager::Catalogue::shownSound, [](std::string_view name) { return soundCfg(name); }}};
  const Twin* t = nullptr;
};

// A configuration shipped as an alias is rewritten in place, without
// records. Otherwise the first pick records the variant's own entry and
// points its key at an alias folder of its own; a later pick rewrites the
// alias only; picking the recorded entry restores the key and removes the
// folder, the records staying. "---Not Listed---" changes nothing; alias
// folders are no entries.
TEST_F(SwapTest, SwapRewriteAndRestoreKeepEachSectionApart) {
  const std::string cfg = air("C172\\aircraft.cfg");
  for (const Twin& twin : kTwins) {
    t = &twin;
    SCOPED_TRACE(key());
    writeFile(ownFile(), aliasCfg("fsfsconv\\shared"));
    selectVariant("Skyhawk");
    pick(entry("q"));
    EXPECT_EQ(readFile(ownFile()), aliasTo(entry("q")));
    EXPECT_EQ(records(0), "<absent>|<absent>|");
    EXPECT_FALSE(exists(aliasFile(0)));

    writeFile(ownFile(), t->config(""));
    selectVariant("Skyhawk");
    ASSERT_EQ(shown(), own());
    pick(entry("p"));
    EXPECT_EQ(records(0), own() + "||hgrpak0");
    EXPECT_EQ(shown(), entry("p"));

    selectVariant("Skyhawk IFR");
    ASSERT_EQ(shown(), own(".ifr"));
    pick(entry("p"));
    EXPECT_EQ(records(2), own(".ifr") + "|IFR|hgrpak2");
    pick(entry("q"));
    EXPECT_EQ(records(2), own(".ifr") + "|IFR|hgrpak2");
    EXPECT_EQ(readFile(aliasFile(0)) + readFile(aliasFile(2)), aliasTo(entry("p")) + aliasTo(entry("q")));
    const std::string before = readFile(cfg);
    (cat.*t->com).userPick(0);
    EXPECT_EQ(readFile(cfg), before);
    EXPECT_EQ(shown(), entry("q"));

    cat.Search();  // selects Skyhawk, which shows its alias's target
    EXPECT_EQ((cat.*t->lst).count(), 4);
    EXPECT_EQ(shown(), entry("p"));
    pick(own());
    EXPECT_FALSE(exists(core::parentPath(aliasFile(0))));
    EXPECT_EQ(records(0), own() + "||");
    EXPECT_EQ(shown(), own());
    selectVariant("Skyhawk IFR");
    EXPECT_EQ(shown(), entry("q"));
    pick(own(".ifr"));
    EXPECT_FALSE(exists(core::parentPath(aliasFile(2))));
    EXPECT_EQ(records(2), own(".ifr") + "|IFR|IFR");
    EXPECT_EQ(shown(), own(".ifr"));
    EXPECT_EQ(records(1), "<absent>|<absent>|");
  }
}

// A key may lead into another aircraft's folder, as add-ons that share a
// panel or sound set do: the variant shows what it finds there. One that
// leads out of the aircraft folder lists nothing. Neither is ever written
// through: a swap gives the variant an alias folder of its own and a restore
// puts the key back; nothing outside the variant's folder changes.
TEST_F(SwapTest, AKeyThatLeadsElsewhereIsNeverWrittenThrough) {
  const auto climbing = [](const std::string& to) { return "\\..\\..\\" + to; };
  writeAircraft(
      "Jay", {{.title = "Shares", .panel = climbing("Heron\\panel.hgrpak1"), .sound = climbing("Heron\\sound.hgrpak1")},
              {.title = "Climbs", .panel = climbing("..\\Outside\\panel"), .sound = climbing("..\\Outside\\sound")}});
  for (const Twin& twin : kTwins) {
    t = &twin;
    writeFile(air("Heron\\" + key() + ".hgrpak1\\" + file()), aliasTo(entry("p")));
    writeFile("C:\\FS2002\\Outside\\" + key() + "\\" + file(), aliasTo(entry("p")));
  }
  cat.Search();
  for (const Twin& twin : kTwins) {
    t = &twin;
    const struct {
      const char* title;
      int section;
      std::string value, shown;
    } cases[] = {{"Shares", 0, climbing("Heron\\" + key() + ".hgrpak1"), entry("p")},
                 {"Climbs", 1, climbing("..\\Outside\\" + key()), std::string(manager::NotListed)}};
    for (const auto& c : cases) {
      SCOPED_TRACE(key() + " " + c.title);
      const std::string n = std::to_string(c.section);
      auto before = testsupport::snapshotTree(host("C:\\FS2002"));
      selectVariant(c.title);
      EXPECT_EQ(shown(), c.shown);
      pick(entry("q"));
      EXPECT_EQ(shown(), entry("q"));
      EXPECT_EQ(readFile(air("Jay\\" + key() + ".hgrpak" + n + "\\" + file())), aliasTo(entry("q")));
      if (c.shown == entry("p")) {
        pick(entry("p"));
        EXPECT_EQ(cfgValue(air("Jay\\aircraft.cfg"), "fltsim." + n, key()), c.value);
      }
      auto after = testsupport::snapshotTree(host("C:\\FS2002"));
      for (auto* tree : {&before, &after})
        std::erase_if(*tree, [](const auto& entry) { return entry.first.starts_with("Aircraft/Jay/"); });
      EXPECT_EQ(testsupport::treeDifferences(before, after), "");
    }
  }
}

}  // namespace
}  // namespace managertest
