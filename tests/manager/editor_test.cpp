#include "manager/editor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "core/text.h"
#include "core/trash.h"
#include "manager/catalogue_fixture.h"
#include "support/recording_launcher.h"

namespace managertest {
namespace {

class EditorTest : public CatalogueTest {
 protected:
  // Six aircraft A to F, three panels and two sounds; the catalogue built.
  void fillTree() {
    for (const char* name : {"Bravo", "Alpha", "Delta", "Charlie", "Foxtrot", "Echo"})
      writeAircraft(name, {{.title = name}});
    writeFile(air("Alpha\\panel\\panel.cfg"), testsupport::panelCfg("Alpha panel"));
    writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), testsupport::panelCfg("Glass"));
    writeFile(air("fsfsconv\\panel.Glass\\doc\\readme.txt"), "read me");
    writeFile(air("fsfsconv\\panel.Steam\\panel.cfg"), testsupport::panelCfg("Steam"));
    writeFile(air("Alpha\\sound\\sound.cfg"), testsupport::soundCfg("Alpha engine"));
    writeFile(air("fsfsconv\\sound.Radial\\sound.cfg"), testsupport::soundCfg("Radial"));
    cat.Search();
  }
  // editLst, the catalogue and the choice list hold the same entries in
  // the same order.
  void expectInStep(const core::ListView& lst, const core::ComboBox* com = nullptr) {
    EXPECT_EQ(rows(ed.editLst), rows(lst));
    Strings choices = texts(lst);
    choices.insert(choices.begin(), "---Not Listed---");
    if (com) {
      EXPECT_EQ(com->items(), choices);
    }
  }
  void click(int row) {
    ed.editLst_MouseDown(manager::LeftButton);
    ed.editLst_ItemClick(row);
  }
  void type(const std::string& text) {
    for (std::size_t n = 1; n <= text.size(); ++n) {
      ed.nameTxt.text = text.substr(0, n);
      ed.nameTxt_KeyUp('A', 0);
    }
  }

  manager::Editor ed{ctx(), cat};
};

TEST_F(EditorTest, FillsEachModeFromItsCatalogue) {
  fillTree();
  const struct {
    int mode;
    const char* caption;
    const core::ListView& source;
  } modes[] = {{2, "E&dit Panel", cat.panelLst}, {3, "E&dit Sound", cat.lydLst}, {1, "E&dit Aircraft", cat.flyLst}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.caption);
    ed.FillEditList(m.mode);
    EXPECT_EQ(ed.editCmd.caption, m.caption);
    expectInStep(m.source);
    EXPECT_EQ(ed.editLst.selectedIndex(), 0);
    EXPECT_EQ(ed.nameTxt.text + "|" + ed.pathTxt.text, m.source.item(0).text + "|" + m.source.item(0).subItem(1));
  }
  ed.FillEditList(7);
  EXPECT_EQ(ed.editLst.count(), 0);
  EXPECT_EQ(ed.editCmd.caption, "E&dit Aircraft");

  // A stale catalogue is rebuilt first.
  std::filesystem::remove_all(host(air("Bravo")));
  state().catalogueStale = 1;
  ed.FillEditList(manager::AircraftMode);
  EXPECT_EQ(texts(ed.editLst), (Strings{"Alpha", "Charlie", "Delta", "Echo", "Foxtrot"}));
  EXPECT_EQ(state().catalogueStale, 0);
}

// A renamed aircraft or panel, typed or edited in place, is written at once
// and moves to its new place in editLst, the catalogue and the choice list
// alike; "---Not Listed---" stays at position 0 and the choice list keeps the
// entry it shows, without a swap. The walk stops at an emptied title.
TEST_F(EditorTest, RenamedEntryMovesInAllItsLists) {
  const struct {
    int mode;
    const char* from;
    const char* to;
    bool typed;
    int at;
  } renames[] = {{manager::AircraftMode, "Alpha", "Zulu", true, 5},
                 {manager::AircraftMode, "Alpha", "", false, 0},
                 {manager::PanelMode, "Alpha panel", "Zeppelin", true, 2},
                 {manager::PanelMode, "Glass", "!first", false, 0},
                 {manager::PanelMode, "Steam", "", false, 0}};
  for (const auto& r : renames) {
    SCOPED_TRACE(std::string(r.from) + " -> " + r.to);
    const bool aircraft = r.mode == manager::AircraftMode;
    const core::ListView& source = aircraft ? cat.flyLst : cat.panelLst;
    fillTree();
    selectVariant("Alpha");
    ed.FillEditList(r.mode);
    const std::string folder = ed.editLst.item(rowOf(ed.editLst, r.from)).subItem(1);
    click(rowOf(ed.editLst, r.from));
    bool cancel = false;
    r.typed ? type(r.to) : ed.editLst_AfterLabelEdit(cancel, r.to);
    EXPECT_EQ(ed.nameTxt.text, r.to);
    expectInStep(source, aircraft ? nullptr : &cat.panelCom);
    EXPECT_EQ(ed.editLst.selectedIndex(), r.at);
    EXPECT_EQ(ed.editLst.item(r.at).text + "|" + ed.editLst.item(r.at).subItem(1), r.to + ("|" + folder));
    EXPECT_EQ(aircraft ? cfgValue(folder + "aircraft.cfg", "fltsim.0", "title")
                       : cfgValue(folder + "panel.cfg", "Hangarpak", "Name"),
              r.to);
    EXPECT_EQ(cat.panelCom.text(), std::string(r.from) == "Alpha panel" ? r.to : "Alpha panel");
    EXPECT_EQ(cfgValue(air("Alpha\\aircraft.cfg"), "Hangarpak", "OrgPanel0"), "<absent>");
    EXPECT_FALSE(exists(air("Alpha\\panel.hgrpak0")));
    cat.Search();
    EXPECT_EQ(std::ranges::count(texts(source), r.to), aircraft && !*r.to ? 0 : 1);
  }
}

// An aircraft goes after two questions, a panel after one; No or Cancel
// changes nothing. The row before the deleted one is selected, or the first.
// With a desktop trash the files go there, from where a file manager can put
// them back.
TEST_F(EditorTest, DeleteAsksAndSelectsThePreviousOrTheFirstRow) {
  const std::string ask = "Do you want to delete ", warn = "All files and directories will be deleted!";
  const std::string bin = root + "/data/Trash/";
  const auto Yes = core::Answer::Yes, Ok = core::Answer::OK;
  const auto trash = core::makeDesktopTrash(ctx().env);
  const struct {
    int mode;
    const char* name;
    core::Answer first, second;  // second: OK when not asked
    int selected;
    bool trash;
  } cases[] = {{manager::AircraftMode, "Alpha", Yes, Ok, 0, false},
               {manager::AircraftMode, "Echo", Yes, Ok, 3, true},
               {manager::AircraftMode, "Bravo", core::Answer::No, Ok, 1, true},
               {manager::AircraftMode, "Bravo", Yes, core::Answer::Cancel, 1, true},
               {manager::PanelMode, "Glass", Yes, Ok, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool aircraft = c.mode == manager::AircraftMode, deleted = c.first == Yes && c.second == Ok;
    ctx().trash = c.trash ? trash.get() : nullptr;
    fillTree();
    writeFile(air(std::string(c.name) + "\\model\\deep.mdl"), "m");
    writeFile(air(std::string(c.name) + "\\texture\\old\\t.bmp"), "t");
    writeFile(air("fsfsconv\\keep.txt"), "k");
    ed.FillEditList(c.mode);
    click(rowOf(ed.editLst, c.name));
    const std::string folder = ed.pathTxt.text;
    const std::string leaf = core::lastComponent(folder.substr(0, folder.size() - 1));
    const int count = ed.editLst.count();
    dialogs.expectMessage(ask + c.name + "?", std::string("Delete ") + c.name, core::Buttons::YesNo,
                          core::Icon::Exclamation, c.first);
    if (aircraft && c.first == Yes)
      dialogs.expectMessage(warn, "Warning", core::Buttons::OKCancelDefaultCancel, core::Icon::Exclamation, c.second);
    ed.delCap_Click();
    EXPECT_TRUE(dialogs.done());
    if (aircraft) {
      // One level of sub-folders is emptied; deeper ones keep the folder.
      EXPECT_EQ(exists(folder + "aircraft.cfg") || exists(folder + "model"), !deleted);
      EXPECT_TRUE(exists(folder + "texture\\old\\t.bmp"));
    } else {
      EXPECT_FALSE(exists(folder));  // with its doc folder
    }
    EXPECT_TRUE(exists(air("fsfsconv\\keep.txt")));
    EXPECT_EQ(ed.editLst.count(), count - deleted);
    EXPECT_EQ(std::ranges::count(texts(ed.editLst), c.name), deleted ? 0 : 1);
    expectInStep(aircraft ? cat.flyLst : cat.panelLst, aircraft ? nullptr : &cat.panelCom);
    EXPECT_EQ(ed.editLst.selectedIndex(), c.selected);
    EXPECT_EQ(ed.nameTxt.text, ed.editLst.item(c.selected).text);

    ASSERT_EQ(testsupport::hostExists(bin + "info/" + leaf + ".trashinfo"), deleted && c.trash);
    if (!deleted || !c.trash) continue;
    const std::string info = testsupport::readHostFile(bin + "info/" + leaf + ".trashinfo");
    EXPECT_TRUE(std::regex_match(
        info, std::regex(R"(\[Trash Info\]\nPath=.*\nDeletionDate=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\n)")));
    EXPECT_NE(info.find("Path=" + core::trashInfoPath(host(folder.substr(0, folder.size() - 1))) + "\n"),
              std::string::npos);
    EXPECT_EQ(testsupport::readHostFile(bin + "files/" + leaf + (aircraft ? "/model/deep.mdl" : "/doc/readme.txt")),
              aircraft ? "m" : "read me");
    if (aircraft) continue;
    std::filesystem::rename(bin + "files/" + leaf, host(folder));  // what a file manager's restore does
    cat.Search();
    EXPECT_EQ(std::ranges::count(texts(cat.panelLst), c.name), 1);
  }
}

// An aircraft.cfg lying in the aircraft folder itself is listed with that
// folder; deleting "its folder" would take every aircraft with it. Rows whose
// folder climbs out by "..", or lies elsewhere, are refused alike.
TEST_F(EditorTest, DeleteRefusesFoldersNotInsideTheAircraftFolder) {
  fillTree();
  ed.FillEditList(manager::AircraftMode);
  for (const std::string folder : {"C:\\FS2002\\Aircraft\\", "C:\\FS2002\\aircraft\\Alpha\\..\\..\\",
                                   "C:\\FS2002\\aircraftX\\", "C:\\FS2002\\aircraft\\\\"}) {
    SCOPED_TRACE(folder);
    ed.editLst.item(0).subItems[0] = folder;
    click(0);
    dialogs.expectMessage("Alpha is not deleted: its folder\r\n" + folder + "\r\nis not inside C:\\FS2002\\aircraft\\.",
                          "Delete Alpha", core::Buttons::OK, core::Icon::Exclamation);
    ed.delCap_Click();
    EXPECT_TRUE(dialogs.done());
  }
  EXPECT_EQ(cat.flyLst.count(), 6);
  EXPECT_TRUE(exists(air("Alpha\\aircraft.cfg")));
}

// Edit opens the folder in the desktop's file manager through xdg-open,
// without a shell; errors are ignored.
TEST_F(EditorTest, EditOpensTheFolderWithXdgOpen) {
  fillTree();
  testsupport::writeHostFile(root + "/bin/xdg-open", "#!/bin/sh\n");
  ::chmod((root + "/bin/xdg-open").c_str(), 0755);
  testsupport::RecordingLauncher launcher2;
  auto ctx2 = contextWith(nullptr, &launcher2);
  ctx2->env.set("PATH", root + "/bin");
  manager::Catalogue cat2(*ctx2);
  manager::Editor ed2(*ctx2, cat2);
  cat2.Search();
  ed2.FillEditList(manager::AircraftMode);
  ed2.editLst_ItemClick(2);
  ed2.editCmd_Click();
  ed2.editCap_Click();
  ASSERT_EQ(launcher2.starts.size(), 2u);
  ASSERT_EQ(launcher2.starts[0].argv.size(), 2u);
  EXPECT_EQ(launcher2.starts[0].argv[0], root + "/bin/xdg-open");
  EXPECT_TRUE(std::filesystem::equivalent(launcher2.starts[0].argv[1], host(air("Charlie"))));

  launcher2.failStart = true;
  EXPECT_NO_THROW(ed2.editCmd_Click());
}

}  // namespace
}  // namespace managertest
