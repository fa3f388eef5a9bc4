#include "ui/aircraft_tab.h"

#include <gtest/gtest.h>

#include "core/profile.h"
#include "support/fs_configs.h"
#include "support/sim_fixture.h"
#include "ui/editor_tab.h"

namespace {

using testsupport::aliasCfg;
using testsupport::panelCfg;
using testsupport::soundCfg;

// The Aircraft tab over a simulator at C:\FS2002: C172 with "Skyhawk" on
// its own panel and sound and "Floats" hidden without a kept value;
// "Lark" whose panel is an alias to nowhere; the Glass panel and sound.
class AircraftTabTest : public testsupport::SimFixture {
 protected:
  AircraftTabTest() {
    makeSimulator(80, "FS2002");
    writeFile(air("C172\\aircraft.cfg"),
              testsupport::aircraftCfg({{.title = "Skyhawk"}, {.title = "Floats", .sim = ""}}));
    writeFile(air("C172\\panel\\panel.cfg"), panelCfg());
    writeFile(air("C172\\sound\\sound.cfg"), soundCfg("Lycoming"));
    writeFile(air("Lark\\aircraft.cfg"), testsupport::aircraftCfg({{.title = "Lark"}}));
    writeFile(air("Lark\\panel\\panel.cfg"), aliasCfg("lark\\panel\\"));
    writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), panelCfg("Glass"));
    writeFile(air("fsfsconv\\sound.Glass\\sound.cfg"), soundCfg("Glass"));
  }
  int row(std::string_view title) const {
    for (int i = 0; i < tab.flyLst.count(); ++i)
      if (tab.flyLst.item(i).text == title) return i;
    ADD_FAILURE() << "no row " << title;
    return 0;
  }
  void click(std::string_view title) {
    tab.flyLst_MouseDown(ui::LeftButton);
    tab.flyLst_ItemClick(row(title));
  }
  // "text|icon|state|folder" of each row, then "panel|sound" the choice
  // lists show.
  std::vector<std::string> shown() const {
    std::vector<std::string> out;
    for (const auto& r : tab.flyLst.items())
      out.push_back(r.text + "|" + std::to_string(r.smallIcon) + "|" + r.subItem(1) + "|" + r.subItem(2));
    out.push_back(tab.panelCom.text() + "|" + tab.lydCom.text());
    return out;
  }

  ui::AircraftTab tab{ctx()};
};

// Rows, icons, choice lists and counts are rendered from the catalogue;
// selecting a variant shows the entries it uses, "---Not Listed---" for
// one the catalogue does not list.
TEST_F(AircraftTabTest, RendersTheCatalogueAndShowsTheSelectedVariantsEntries) {
  tab.Search();
  EXPECT_EQ(tab.panelCom.items(), (std::vector<std::string>{"---Not Listed---", "c172\\panel", "Glass"}));
  EXPECT_EQ(tab.lydCom.items(), (std::vector<std::string>{"---Not Listed---", "Glass", "Lycoming"}));
  EXPECT_EQ(tab.fly2Lbl.caption + tab.panel2Lbl.caption + tab.lyd2Lbl.caption, "Active: 2  Total: 3Total: 2Total: 2");
  EXPECT_EQ(shown(), (std::vector<std::string>{"Floats|2|hidden|C172", "Lark|1|active|Lark", "Skyhawk|1|active|C172",
                                               "c172\\panel|Lycoming"}));
  EXPECT_EQ(tab.flyLst.selectedIndex(), 0);
  EXPECT_FALSE(state().catalogueStale);
  click("Lark");
  EXPECT_EQ(tab.panelCom.text() + "|" + tab.lydCom.text(), "---Not Listed---|---Not Listed---");
  EXPECT_EQ(tab.panelCom.listIndex(), 0);

  // An empty aircraft folder: zero counts, nothing selected.
  writeFile(air("C172\\aircraft.cfg"), "");
  writeFile(air("Lark\\aircraft.cfg"), "");
  tab.Search();
  EXPECT_EQ(tab.fly2Lbl.caption, "Active: 0  Total: 0");
  EXPECT_EQ(tab.panelCom.listIndex(), -1);
  EXPECT_FALSE(state().catalogueBusy);
}

// A double click after an item click hides or unhides the variant; a
// variant that cannot be unhidden stays hidden and the tab says why. A
// pick of an entry swaps it in; a pick of "---Not Listed---" or one that
// fails leaves the list on what the variant uses.
TEST_F(AircraftTabTest, DoubleClicksAndPicksGoThroughTheCatalogueAndSayWhyNot) {
  tab.Search();
  const std::string cfg = air("C172\\aircraft.cfg");
  click("Skyhawk");
  tab.flyLst_DblClick();
  tab.flyLst_MouseDown(ui::LeftButton);
  tab.flyLst_DblClick();  // no item click before it: nothing
  dialogs.expectMessage("\"Floats\" stays hidden: " + cfg +
                            " keeps no flight model for it (key \"Hide1\" of section \"Hangarpak\" is empty).",
                        "Hangarpak Aircraft Manager", core::Buttons::OK, core::Icon::Exclamation);
  click("Floats");
  tab.flyLst_DblClick();
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(tab.fly2Lbl.caption, "Active: 1  Total: 3");
  EXPECT_EQ(core::ReadProfileString(ctx(), cfg, "fltsim.0", "sim", "?"), "");

  // The context menu's entry says which it does and does it.
  click("Lark");
  EXPECT_EQ(tab.hideCaption(), "&Hide");
  tab.hideCap_Click();
  EXPECT_EQ(tab.flyLst.item(row("Lark")).subItem(1), "hidden");
  EXPECT_EQ(tab.hideCaption(), "&Unhide");
  tab.hideCap_Click();
  EXPECT_EQ(tab.flyLst.item(row("Lark")).subItem(1), "active");

  click("Skyhawk");
  tab.panelCom.userPick(2);
  EXPECT_EQ(core::ReadProfileString(ctx(), cfg, "fltsim.0", "panel", "?"), "hgrpak0");
  tab.lydCom.userPick(0);
  writeFile(air("C172\\sound.hgrpak0"), "in the way");
  dialogs.expectMessage("");
  tab.lydCom.userPick(1);
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(shown(), (std::vector<std::string>{"Floats|2|hidden|C172", "Lark|1|active|Lark", "Skyhawk|2|hidden|C172",
                                               "Glass|Lycoming"}));
  EXPECT_EQ(core::ReadProfileString(ctx(), cfg, "fltsim.0", "sound", "?"), "");
}

// A rename in the Editor tab moves the row in the Aircraft tab too, which
// keeps the variant selected and the entries it shows.
TEST_F(AircraftTabTest, FollowsTheEditorsRenames) {
  ui::EditorTab editor(ctx(), tab);
  tab.Search();
  click("Skyhawk");
  editor.FillEditList(ui::PanelMode);
  editor.editLst_ItemClick(1);
  bool cancel = false;
  editor.editLst_AfterLabelEdit(cancel, "A glass panel");
  EXPECT_EQ(tab.panelCom.items(), (std::vector<std::string>{"---Not Listed---", "A glass panel", "c172\\panel"}));
  EXPECT_EQ(tab.panelCom.text(), "c172\\panel");
  editor.FillEditList(ui::AircraftMode);
  editor.editLst_ItemClick(2);
  editor.editLst_AfterLabelEdit(cancel, "Bird");
  EXPECT_EQ(tab.flyLst.item(tab.flyLst.selectedIndex()).text, "Bird");
  EXPECT_EQ(tab.flyLst.selectedIndex(), 0);
}

}  // namespace
