#include "manager/editor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "core/trash.h"
#include "manager/catalogue.h"
#include "manager/catalogue_fixture.h"
#include "support/recording_launcher.h"

namespace managertest {
namespace {

using Strings = std::vector<std::string>;

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
  void expectInStep(const core::ListView& lst, const core::ComboBox* com) {
    ASSERT_EQ(ed.editLst.count(), lst.count());
    for (int i = 0; i < lst.count(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(ed.editLst.item(i).text, lst.item(i).text);
      EXPECT_EQ(ed.editLst.item(i).subItem(1), lst.item(i).subItem(1));
      EXPECT_EQ(ed.editLst.item(i).subItem(2), lst.item(i).subItem(2));
      if (com) {
        EXPECT_EQ(com->list(i + 1), lst.item(i).text);
      }
    }
    if (com) {
      EXPECT_EQ(com->listCount(), lst.count() + 1);
      EXPECT_EQ(com->list(0), "---Not Listed---");
    }
  }
  void click(int row, int button = manager::LeftButton) {
    ed.editLst_MouseDown(button);
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
  struct Mode {
    int mode;
    const char* caption;
    const core::ListView& source;
  };
  for (const Mode& m : {Mode{2, "E&dit Panel", cat.panelLst}, Mode{3, "E&dit Sound", cat.lydLst},
                        Mode{1, "E&dit Aircraft", cat.flyLst}}) {
    SCOPED_TRACE(m.caption);
    ed.FillEditList(m.mode);
    EXPECT_EQ(ed.editCmd.caption, m.caption);
    expectInStep(m.source, nullptr);
    EXPECT_EQ(ed.editLst.selectedIndex(), 0);
    EXPECT_EQ(ed.nameTxt.text, m.source.item(0).text);
    EXPECT_EQ(ed.pathTxt.text, m.source.item(0).subItem(1));
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

TEST_F(EditorTest, TypingAnAircraftNameWritesTheTitleAtEveryKey) {
  fillTree();
  ed.FillEditList(manager::AircraftMode);
  click(0);  // Alpha
  const std::string cfg = air("Alpha\\aircraft.cfg");
  type("Zulu");
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "title"), "Zulu");
  EXPECT_EQ(texts(ed.editLst), (Strings{"Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Zulu"}));
  expectInStep(cat.flyLst, nullptr);
  EXPECT_EQ(ed.editLst.selectedIndex(), 5);

  // An emptied box writes an empty title: the next walk stops at it.
  ed.nameTxt.text.clear();
  ed.nameTxt_KeyUp(8, 0);
  EXPECT_EQ(cfgValue(cfg, "fltsim.0", "title"), "");
  cat.Search();
  EXPECT_EQ(cat.flyLst.count(), 5);
}

// A renamed panel moves to its new place in editLst, panelLst and panelCom
// alike; "---Not Listed---" stays at position 0.
TEST_F(EditorTest, RenamedEntryMovesInAllThreeLists) {
  struct Rename {
    const char* from;
    const char* to;
  };
  for (const Rename& r : {Rename{"Alpha panel", "Zebra"}, Rename{"Glass", "!first"}, Rename{"Steam", ""}}) {
    SCOPED_TRACE(std::string(r.from) + " -> " + r.to);
    fillTree();
    ed.FillEditList(manager::PanelMode);
    const int row = rowOf(ed.editLst, r.from);
    const std::string folder = ed.editLst.item(row).subItem(1);
    click(row);
    bool cancel = false;
    ed.editLst_AfterLabelEdit(cancel, r.to);
    EXPECT_EQ(ed.nameTxt.text, r.to);
    expectInStep(cat.panelLst, &cat.panelCom);
    const int moved = ed.editLst.selectedIndex();
    ASSERT_GE(moved, 0);
    EXPECT_EQ(ed.editLst.item(moved).text, r.to);
    EXPECT_EQ(ed.editLst.item(moved).subItem(1), folder);
    EXPECT_EQ(cfgValue(folder + "panel.cfg", "Hangarpak", "Name"), r.to);
  }
}

TEST_F(EditorTest, RenameKeepsThePickedEntryOfTheChoiceList) {
  fillTree();
  cat.flyLst_ItemClick(rowOf(cat.flyLst, "Alpha"));
  ASSERT_EQ(cat.panelCom.text(), "Alpha panel");
  const std::string before = readFile(air("Alpha\\aircraft.cfg"));
  ed.FillEditList(manager::PanelMode);
  click(rowOf(ed.editLst, "Alpha panel"));
  type("Zeppelin");
  EXPECT_EQ(cat.panelCom.text(), "Zeppelin");
  EXPECT_EQ(readFile(air("Alpha\\aircraft.cfg")), before);  // no swap on the way
  EXPECT_FALSE(exists(air("Alpha\\panel.hgrpak0")));
}

TEST_F(EditorTest, DeletingAnAircraftRowSelectsThePreviousOrTheFirst) {
  struct Case {
    int row;
    const char* deleted;
    int selected;
  };
  for (const Case& c : {Case{0, "Alpha", 0}, Case{4, "Echo", 3}}) {
    SCOPED_TRACE(c.deleted);
    fillTree();
    writeFile(air(std::string(c.deleted) + "\\model\\deep.mdl"), "m");
    writeFile(air(std::string(c.deleted) + "\\texture\\old\\t.bmp"), "t");
    ed.FillEditList(manager::AircraftMode);
    click(c.row);
    ASSERT_EQ(ed.nameTxt.text, c.deleted);
    dialogs.expectMessage(std::string("Do you want to delete ") + c.deleted + "?", std::string("Delete ") + c.deleted,
                          core::Buttons::YesNo, core::Icon::Exclamation, core::Answer::Yes);
    dialogs.expectMessage("All files and directories will be deleted!", "Warning", core::Buttons::OKCancelDefaultCancel,
                          core::Icon::Exclamation, core::Answer::OK);
    ed.delCap_Click();
    EXPECT_TRUE(dialogs.done());
    // One level of sub-folders is emptied; deeper ones keep the folder.
    EXPECT_FALSE(exists(air(std::string(c.deleted) + "\\aircraft.cfg")));
    EXPECT_FALSE(exists(air(std::string(c.deleted) + "\\model")));
    EXPECT_TRUE(exists(air(std::string(c.deleted) + "\\texture\\old\\t.bmp")));
    std::filesystem::remove_all(host(air(c.deleted)));
    EXPECT_EQ(cat.flyLst.count(), 5);
    expectInStep(cat.flyLst, nullptr);
    EXPECT_EQ(ed.editLst.selectedIndex(), c.selected);
    EXPECT_EQ(ed.nameTxt.text, ed.editLst.item(c.selected).text);
  }
}

TEST_F(EditorTest, NoOrCancelChangesNothing) {
  fillTree();
  for (core::Answer second : {core::Answer::Yes, core::Answer::Cancel}) {
    ed.FillEditList(manager::AircraftMode);
    click(1);
    if (second == core::Answer::Yes)
      dialogs.expectMessage("Do you want to delete Bravo?", core::Answer::No);
    else
      dialogs.expectMessage("Do you want to delete Bravo?", core::Answer::Yes)
          .expectMessage("All files and directories will be deleted!", core::Answer::Cancel);
    ed.delCap_Click();
    EXPECT_TRUE(dialogs.done());
    EXPECT_TRUE(exists(air("Bravo\\aircraft.cfg")));
    EXPECT_EQ(ed.editLst.count(), 6);
    EXPECT_EQ(ed.editLst.selectedIndex(), 1);
  }
}

TEST_F(EditorTest, DeletingAPanelRemovesItsFolderAndDocOnly) {
  fillTree();
  writeFile(air("fsfsconv\\panel.Glass\\..\\keep.txt"), "k");
  ed.FillEditList(manager::PanelMode);
  click(rowOf(ed.editLst, "Glass"));
  const int row = ed.editLst.selectedIndex();
  dialogs.expectMessage("Do you want to delete Glass?", "Delete Glass", core::Buttons::YesNo, core::Icon::Exclamation,
                        core::Answer::Yes);
  ed.delCap_Click();
  EXPECT_TRUE(dialogs.done());
  EXPECT_FALSE(exists(air("fsfsconv\\panel.Glass")));
  EXPECT_TRUE(exists(air("fsfsconv\\keep.txt")));
  expectInStep(cat.panelLst, &cat.panelCom);
  EXPECT_EQ(texts(ed.editLst), (Strings{"Alpha panel", "Steam"}));
  EXPECT_EQ(ed.editLst.selectedIndex(), row - 1);
}

TEST_F(EditorTest, DeletedAircraftGoesToTheTrashAndIsBackWhenMovedBack) {
  fillTree();
  writeFile(air("Delta\\model\\Delta model.mdl"), "m");
  const auto trash = core::makeDesktopTrash(ctx().env);
  ctx().trash = trash.get();
  ed.FillEditList(manager::AircraftMode);
  click(rowOf(ed.editLst, "Delta"));
  dialogs.expectMessage("Do you want to delete Delta?", core::Answer::Yes)
      .expectMessage("All files and directories will be deleted!", core::Answer::OK);
  ed.delCap_Click();
  ASSERT_FALSE(exists(air("Delta")));
  const auto listed = [&] { return std::ranges::count(texts(cat.flyLst), std::string("Delta")) == 1; };
  EXPECT_FALSE(listed());

  const std::string bin = root + "/data/Trash";
  std::ifstream info(bin + "/info/Delta.trashinfo");
  std::string header, path, date;
  std::getline(info, header);
  std::getline(info, path);
  std::getline(info, date);
  EXPECT_EQ(header, "[Trash Info]");
  EXPECT_EQ(path, "Path=" + core::trashInfoPath(host(air("Delta"))));
  EXPECT_TRUE(std::regex_match(date, std::regex(R"(DeletionDate=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)"))) << date;

  // What a file manager's restore does.
  std::filesystem::rename(bin + "/files/Delta", host(air("Delta")));
  EXPECT_EQ(readFile(air("Delta\\model\\Delta model.mdl")), "m");
  cat.Search();
  EXPECT_TRUE(listed());
}

// An aircraft.cfg lying in the aircraft folder itself is listed with that
// folder; deleting "its folder" would take every aircraft with it.
TEST_F(EditorTest, DeleteRefusesFoldersNotInsideTheAircraftFolder) {
  fillTree();
  writeFile(air("aircraft.cfg"), testsupport::aircraftCfg({{.title = "Loose"}}));
  cat.Search();
  ed.FillEditList(manager::AircraftMode);
  click(rowOf(ed.editLst, "Loose"));
  dialogs.expectMessage(
      "Loose is not deleted: its folder\r\nC:\\FS2002\\Aircraft\\\r\nis not inside "
      "C:\\FS2002\\aircraft\\.",
      "Delete Loose", core::Buttons::OK, core::Icon::Exclamation);
  ed.delCap_Click();
  EXPECT_TRUE(exists(air("aircraft.cfg")));

  // Rows whose folder climbs out by "..", or lies elsewhere, are refused alike.
  for (const char* folder :
       {"C:\\FS2002\\aircraft\\Alpha\\..\\..\\", "C:\\FS2002\\aircraftX\\", "C:\\FS2002\\aircraft\\\\"}) {
    SCOPED_TRACE(folder);
    ed.editLst.item(0).subItems[0] = folder;
    click(0);
    dialogs.expectMessage("", core::Answer::OK);
    ed.delCap_Click();
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.messages().back().buttons, core::Buttons::OK);
  }
  EXPECT_TRUE(exists(air("Alpha\\aircraft.cfg")));
}

// Edit opens the folder in the desktop's file manager through xdg-open,
// without a shell; a context over a recording launcher sees the start.
TEST_F(EditorTest, EditOpensTheFolderWithXdgOpen) {
  fillTree();
  testsupport::writeHostFile(root + "/bin/xdg-open", "#!/bin/sh\n");
  ::chmod((root + "/bin/xdg-open").c_str(), 0755);
  testsupport::RecordingLauncher launcher2;
  auto ctx2p = contextWith(nullptr, &launcher2);
  auto& ctx2 = *ctx2p;
  ctx2.env.set("PATH", root + "/bin");
  manager::Catalogue cat2(ctx2);
  manager::Editor ed2(ctx2, cat2);
  cat2.Search();
  ed2.FillEditList(manager::AircraftMode);
  ed2.editLst_ItemClick(2);
  ed2.editCmd_Click();
  ed2.editCap_Click();
  ASSERT_EQ(launcher2.starts.size(), 2u);
  ASSERT_EQ(launcher2.starts[0].argv.size(), 2u);
  EXPECT_EQ(launcher2.starts[0].argv[0], root + "/bin/xdg-open");
  EXPECT_TRUE(std::filesystem::equivalent(launcher2.starts[0].argv[1], host(air("Charlie"))));

  launcher2.failStart = true;  // errors are ignored
  EXPECT_NO_THROW(ed2.editCmd_Click());
}

}  // namespace
}  // namespace managertest
