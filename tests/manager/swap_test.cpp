#include <gtest/gtest.h>

#include "core/text.h"
#include "manager/catalogue.h"
#include "manager/catalogue_fixture.h"

namespace managertest {
namespace {

using testsupport::Variant;

// The names by which the panel and the sound swap differ.
struct TwinCase {
  const char* name;
  const char* key;        // "panel" / "sound"
  const char* file;       // "panel.cfg"
  const char* origKey;    // "OrgPanel"
  const char* suffixKey;  // "OrgPanInt"
  core::ComboBox manager::Catalogue::*com;
  core::ListView manager::Catalogue::*lst;
  std::string manager::Catalogue::*shown;
  std::string (*config)(std::string_view);
};

void PrintTo(const TwinCase& c, std::ostream* os) {
  *os << c.name;
}

class SwapTest : public CatalogueTest, public ::testing::WithParamInterface<TwinCase> {
 protected:
  // C172 with section 0 on its own folder ("panel"), section 1 untouched
  // and section 2 on "panel.IFR"; two entries P and Q in the store of
  // separately installed ones.
  void SetUp() override {
    const TwinCase& t = GetParam();
    Variant v0{.title = "Skyhawk"}, v1{.title = "Skyhawk II"}, v2{.title = "Skyhawk IFR"};
    (std::string(t.key) == "panel" ? v2.panel : v2.sound) = "IFR";
    writeAircraft("C172", {v0, v1, v2});
    writeFile(air(std::string("C172\\") + t.key + "\\" + t.file), t.config(""));
    writeFile(air(std::string("C172\\") + t.key + ".IFR\\" + t.file), t.config(""));
    writeFile(air(std::string("fsfsconv\\") + t.key + ".P\\" + t.file), t.config("Entry P"));
    writeFile(air(std::string("fsfsconv\\") + t.key + ".Q\\" + t.file), t.config("Entry Q"));
    cat.Search();
    cfg = air("C172\\aircraft.cfg");
  }

  std::string own(const std::string& suffix = "") const { return std::string("c172\\") + GetParam().key + suffix; }
  std::string entry(const char* letter) const { return std::string("fsfsconv\\") + GetParam().key + "." + letter; }
  void selectVariant(const std::string& title) {
    cat.flyLst_MouseDown(manager::LeftButton);
    cat.flyLst_ItemClick(rowOf(cat.flyLst, title));
  }
  // What the user does: picks the entry with that relative folder.
  void pick(const std::string& relative) {
    const TwinCase& t = GetParam();
    const auto& lst = cat.*t.lst;
    for (int i = 0; i < lst.count(); ++i)
      if (lst.item(i).subItem(2) == relative) return (cat.*t.com).userPick(i + 1);
    FAIL() << "no entry " << relative;
  }
  std::string aliasFile(int n) const {
    return air(std::string("C172\\") + GetParam().key + ".hgrpak" + std::to_string(n) + "\\" + GetParam().file);
  }
  std::string record(const char* key, int n) { return cfgValue(cfg, "Hangarpak", key + std::to_string(n)); }
  std::string variantKey(int n) { return cfgValue(cfg, "fltsim." + std::to_string(n), GetParam().key); }

  std::string cfg;
};

TEST_P(SwapTest, SwapRewriteAndRestoreForTwoSectionsOfOneFile) {
  const TwinCase& t = GetParam();
  struct Section {
    int n;
    const char* title;
    std::string ownEntry;
    std::string ownValue;
  };
  for (const Section& s : {Section{0, "Skyhawk", own(), ""}, Section{2, "Skyhawk IFR", own(".ifr"), "IFR"}}) {
    SCOPED_TRACE(s.title);
    selectVariant(s.title);
    ASSERT_EQ(cat.*t.shown, s.ownEntry);

    pick(entry("p"));  // first swap: records, key, alias folder
    EXPECT_EQ(record(t.origKey, s.n), s.ownEntry);
    EXPECT_EQ(record(t.suffixKey, s.n), s.ownValue);
    EXPECT_EQ(variantKey(s.n), "hgrpak" + std::to_string(s.n));
    EXPECT_EQ(readFile(aliasFile(s.n)), "[fltsim]\r\nalias=" + entry("p") + "\r\n");
    EXPECT_EQ(cat.*t.shown, entry("p"));

    pick(entry("q"));  // a second pick rewrites the alias file only
    EXPECT_EQ(readFile(aliasFile(s.n)), "[fltsim]\r\nalias=" + entry("q") + "\r\n");
    EXPECT_EQ(record(t.origKey, s.n), s.ownEntry);
    EXPECT_EQ(record(t.suffixKey, s.n), s.ownValue);

    // Selecting the variant again shows the alias's target.
    selectVariant("Skyhawk II");
    selectVariant(s.title);
    EXPECT_EQ(cat.*t.shown, entry("q"));

    pick(s.ownEntry);  // restore
    EXPECT_FALSE(exists(aliasFile(s.n)));
    EXPECT_FALSE(exists(core::parentPath(aliasFile(s.n))));
    EXPECT_EQ(variantKey(s.n), s.ownValue);
    EXPECT_EQ(record(t.origKey, s.n), s.ownEntry);  // records outlive the restore
    EXPECT_EQ(cat.*t.shown, s.ownEntry);
  }
  // Section 1 was never touched.
  EXPECT_EQ(record(t.origKey, 1), "<absent>");
  EXPECT_EQ(variantKey(1), "");
}

// Two sections swapped at once keep their own alias folders, which are no
// entries of their own; "---Not Listed---" changes nothing and shows the
// entry again.
TEST_P(SwapTest, SectionsKeepTheirOwnAliasFolders) {
  const TwinCase& t = GetParam();
  selectVariant("Skyhawk");
  pick(entry("p"));
  selectVariant("Skyhawk IFR");
  pick(entry("q"));
  const std::string before = readFile(cfg);
  (cat.*t.com).userPick(0);
  EXPECT_EQ(readFile(cfg), before);
  EXPECT_EQ(cat.*t.shown, entry("q"));
  EXPECT_EQ(readFile(aliasFile(0)), "[fltsim]\r\nalias=" + entry("p") + "\r\n");
  EXPECT_EQ(readFile(aliasFile(2)), "[fltsim]\r\nalias=" + entry("q") + "\r\n");
  cat.Search();
  EXPECT_EQ((cat.*t.lst).count(), 4);
}

TEST_P(SwapTest, ShippedAliasIsRewrittenInPlaceWithoutRecords) {
  const TwinCase& t = GetParam();
  writeFile(air(std::string("C172\\") + t.key + "\\" + t.file), testsupport::aliasCfg("fsfsconv\\shared"));
  selectVariant("Skyhawk");
  pick(entry("q"));
  EXPECT_EQ(readFile(air(std::string("C172\\") + t.key + "\\" + t.file)), "[fltsim]\r\nalias=" + entry("q") + "\r\n");
  EXPECT_EQ(record(t.origKey, 0), "<absent>");
  EXPECT_EQ(variantKey(0), "");
  EXPECT_FALSE(exists(aliasFile(0)));
}

std::string panelConfig(std::string_view name) {
  return testsupport::panelCfg(name);
}
std::string soundConfig(std::string_view name) {
  return testsupport::soundCfg(name);
}

INSTANTIATE_TEST_SUITE_P(
    Twins, SwapTest,
    ::testing::Values(TwinCase{"Panel", "panel", "panel.cfg", "OrgPanel", "OrgPanInt", &manager::Catalogue::panelCom,
                               &manager::Catalogue::panelLst, &manager::Catalogue::shownPanel, panelConfig},
                      TwinCase{"Sound", "sound", "sound.cfg", "OrgLyd", "OrgLydInt", &manager::Catalogue::lydCom,
                               &manager::Catalogue::lydLst, &manager::Catalogue::shownSound, soundConfig}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace managertest
