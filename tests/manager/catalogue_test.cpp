#include <gtest/gtest.h>

#include <map>

#include "core/text.h"
#include "manager/catalogue_fixture.h"
#include "support/aircraft_tree.h"
#include "support/forwarding_fs.h"

namespace managertest {
namespace {

using testsupport::aliasCfg;
using testsupport::fltsimSection;
using testsupport::panelCfg;
using testsupport::soundCfg;

// Sections are listed up to the first gap or title starting with "~", from
// the aircraft folder and two folder levels below it; a hidden one counts in
// the total only. An entry is a panel or sound configuration in a folder of
// its own, named by "Hangarpak"/"Name" or else by its folder; alias
// configurations are none. Every list is sorted by its text, letters
// without regard to case, then by bytes, then in the order of the walk.
TEST_F(CatalogueTest, ListsSectionsAndEntriesTwoLevelsDeep) {
  writeFile(air("Gap\\aircraft.cfg"), fltsimSection(0, {.title = "Gap 0"}) + fltsimSection(1, {.title = "Gap 1"}) +
                                          fltsimSection(3, {.title = "Gap 3"}));
  writeFile(air("Tilde\\aircraft.cfg"), fltsimSection(0, {.title = "Tilde 0", .sim = ""}) +
                                            fltsimSection(1, {.title = "~Tilde 1"}) +
                                            fltsimSection(2, {.title = "Tilde 2"}));
  writeFile(air("aircraft.cfg"), testsupport::aircraftCfg({{.title = "level 0"}}));
  writeAircraft("Group\\Two", {{.title = "Level 2"}});
  writeAircraft("Group\\Two\\Three", {{.title = "Level 3"}});
  writeFile(air("Group\\Two\\Three\\panel\\panel.cfg"), panelCfg());
  writeFile(air("Group\\Two\\panel.cfg"), panelCfg());
  writeFile(air("C172\\panel.IFR\\PANEL.CFG"), panelCfg("Instrument trainer"));
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg() + "\r\n[HANGARPAK]\r\nNAME=Glass cockpit\r\n");
  writeFile(air("C172\\panel.hgrpak0\\panel.cfg"), aliasCfg("fsfsconv\\panel.glass"));
  writeFile(air("C172\\panel.empty\\panel.cfg"), "[fltsim]\r\nalias=\r\n");
  writeFile(air("C172\\panel.err\\panel.cfg"), "[fltsim]\r\nalias=Err\r\n");
  writeFile(air("panel.cfg"), panelCfg("Lying loose"));
  writeFile(air("C172\\Sound\\sound.cfg"), soundCfg("  Lycoming  "));
  writeAircraft("Again", {{.title = "gap 1"}, {.title = "Gap 0"}});
  const auto cat = build();
  EXPECT_EQ(variants(cat), (Strings{"Gap 0|" + air("Again\\|1|active|-|-"), "Gap 0|" + air("Gap\\|0|active|-|-"),
                                    "Gap 1|" + air("Gap\\|1|active|-|-"), "gap 1|" + air("Again\\|0|active|-|-"),
                                    "level 0|" + air("|0|active|-|-"), "Level 2|" + air("Group\\Two\\|0|active|-|-"),
                                    "Tilde 0|" + air("Tilde\\|0|hidden|-|-")}));
  EXPECT_EQ(entries(cat.panels()), (Strings{"c172\\panel.err|" + air("C172\\panel.err\\|c172\\panel.err"),
                                            "Glass cockpit|" + air("fsfsconv\\panel.Glass\\|fsfsconv\\panel.glass"),
                                            "group\\two|" + air("Group\\Two\\|group\\two"),
                                            "Instrument trainer|" + air("C172\\panel.IFR\\|c172\\panel.ifr")}));
  EXPECT_EQ(entries(cat.sounds()), (Strings{"Lycoming|" + air("C172\\Sound\\|c172\\sound")}));
  EXPECT_EQ(cat.activeCount(), 6);
  EXPECT_EQ(cat.findVariant(air("gap\\"), 1), 2u);
  EXPECT_EQ(cat.findVariant(air("Gap\\"), 3), std::nullopt);
  EXPECT_EQ(cat.findEntry(manager::EntryKind::Panel, "group\\two"), 2u);
  EXPECT_EQ(cat.findEntry(manager::EntryKind::Sound, "group\\two"), std::nullopt);
}

// Long titles that share their first letters, and titles whose order
// depends on letters folded early or late in the text, take the same
// order: letters without regard to case, a text before the longer ones it
// starts, then bytes, then the order given.
TEST(CatalogueOrder, SortsLongTitlesByTheirWholeText) {
  const std::vector<std::string> given = {
      "Cessna 172 Skyhawk II", "\xC3\x96lflug", "cessna 172 skyhawk I", "B-17 Flying Fortress", "Cessna 172 Skyhawk A",
      "Cessna 172 Skyhawk [",  "cessna 18",     "Cessna 172 Skyhawk I", "a-10 Thunderbolt",     "Cessna",
      "Cessna 172 Skyhawk I",
  };
  std::vector<manager::AircraftVariant> variants;
  for (std::size_t i = 0; i < given.size(); ++i) {
    manager::AircraftVariant variant;
    variant.title = given[i];
    variant.folder = "C:\\FS2002\\Aircraft\\Plane" + std::to_string(i) + "\\";
    variants.push_back(variant);
  }
  const manager::Catalogue cat(std::move(variants), {}, {});
  Strings order;
  for (const auto& v : cat.variants()) order.push_back(v.title + "|" + v.folder.substr(24));
  EXPECT_EQ(order,
            (Strings{"a-10 Thunderbolt|8\\", "B-17 Flying Fortress|3\\", "Cessna|9\\", "Cessna 172 Skyhawk [|5\\",
                     "Cessna 172 Skyhawk A|4\\", "Cessna 172 Skyhawk I|7\\", "Cessna 172 Skyhawk I|10\\",
                     "cessna 172 skyhawk I|2\\", "Cessna 172 Skyhawk II|0\\", "cessna 18|6\\", "\xC3\x96lflug|1\\"}));
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
  const auto cat = build();
  ASSERT_EQ(cat.variants().size(), 1001u);
  EXPECT_EQ(cat.variants()[cat.findVariant(air("Big\\"), 999).value()].title, "Big 999");
  EXPECT_EQ(cat.variants().back().title, "Small");
  EXPECT_TRUE(dialogs.done());
}

// What a variant's panel and sound folders hold decides the entries it
// uses: the target of an alias (in any capitals), else its own folder when
// usable; listed only when the catalogue has that entry. A file that
// cannot be read holds no keys: its folder is an entry, which no variant
// uses.
TEST_F(CatalogueTest, KnowsTheEntriesEachVariantUses) {
  writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg("Glass cockpit"));
  writeFile(air("fsfsconv\\sound.Glass\\sound.cfg"), soundCfg("Glass engine"));
  const struct {
    std::string title;  // also its folder
    const char* key;    // the variant's "panel" and "sound" value
    std::string panel, sound;
    std::string uses;  // "panel|sound"
  } cases[] = {{"Own", "", panelCfg(), soundCfg(), "own\\panel|own\\sound"},
               {"Keyed", "IFR", panelCfg(), soundCfg(), "keyed\\panel.ifr|keyed\\sound.ifr"},
               {"Capitals", "", aliasCfg("FSFSCONV\\Panel.Glass"), aliasCfg("FsFsConv\\SOUND.glass"),
                "fsfsconv\\panel.glass|fsfsconv\\sound.glass"},
               {"Backslash", "", aliasCfg("fsfsconv\\panel.glass\\"), aliasCfg("fsfsconv\\sound.glass\\"), "-|-"},
               {"Unlisted", "", aliasCfg("lark\\panel"), aliasCfg("own\\sound.gone"), "-|-"},
               {"NoMarker", "", testsupport::panelCfgWithoutWindows(), "[Other]\r\nx=1\r\n", "-|-"},
               {"NoConfiguration", "", "", "", "-|-"},
               {"Unreadable", "", aliasCfg("fsfsconv\\panel.glass"), soundCfg(), "-|-"}};
  for (const auto& c : cases) {
    writeAircraft(c.title, {{.title = c.title, .panel = c.key, .sound = c.key}});
    const std::string suffix = *c.key ? std::string(".") + c.key : "";
    if (!c.panel.empty()) writeFile(air(c.title + "\\panel" + suffix + "\\panel.cfg"), c.panel);
    if (!c.sound.empty()) writeFile(air(c.title + "\\sound" + suffix + "\\sound.cfg"), c.sound);
  }
  testsupport::ForwardingFs unreadable(*fs);
  unreadable.failRead = [](std::string_view path) {
    return path.find("\\Unreadable\\") != std::string_view::npos && !path.ends_with("aircraft.cfg");
  };
  const auto cat = manager::BuildCatalogue(*contextWith(&unreadable));
  EXPECT_TRUE(cat.findEntry(manager::EntryKind::Panel, "unreadable\\panel"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const auto& v = cat.variants().at(cat.findVariant(air(c.title + "\\"), 0).value());
    EXPECT_EQ(v.panel.value_or("-") + "|" + v.sound.value_or("-"), c.uses);
    EXPECT_EQ(cat.shownEntry(v, manager::EntryKind::Panel), v.panel.value_or("---Not Listed---"));
  }
}

// One walk reads each configuration file once, however many variants share
// it or name it: the cost of the catalogue grows with the files, not with
// variants times entries.
TEST_F(CatalogueTest, ReadsEachConfigurationFileOnce) {
  testsupport::writeAircraftTree(host(air("")), 30, 4);
  // Variants that share one panel through aliases, and one whose key names
  // a folder deeper than the walk goes.
  writeAircraft("Shared", {{.title = "Shared A"}, {.title = "Shared B", .panel = "deep\\er"}});
  writeFile(air("Shared\\panel\\panel.cfg"), aliasCfg(core::lower(testsupport::generatedFolderName(0)) + "\\panel"));
  writeFile(air("Shared\\panel.deep\\er\\panel.cfg"), panelCfg());
  std::map<std::string, int> reads;
  testsupport::ForwardingFs counting(*fs);
  counting.failRead = [&](std::string_view path) {
    ++reads[core::lower(path)];
    return false;
  };
  const auto cat = manager::BuildCatalogue(*contextWith(&counting));
  ASSERT_EQ(cat.variants().size(), 30u * 4u + 2u);
  EXPECT_EQ(cat.variants()[cat.findVariant(air("Shared\\"), 0).value()].panel,
            core::lower(testsupport::generatedFolderName(0)) + "\\panel");
  // Each folder's three files; Shared's aircraft.cfg, its two panel.cfg and
  // the sound.cfg it lacks.
  EXPECT_EQ(reads.size(), 30u * 3u + 4u);
  for (const auto& [path, count] : reads) EXPECT_EQ(count, 1) << path;
}

}  // namespace
}  // namespace managertest
