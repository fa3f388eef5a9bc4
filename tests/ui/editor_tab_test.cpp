#include "ui/editor_tab.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/trash.h"
#include "support/fs_configs.h"
#include "support/recording_launcher.h"
#include "support/sim_fixture.h"
#include "ui/aircraft_tab.h"

namespace {

// Four aircraft, an aircraft.cfg lying in the aircraft folder itself, two
// panels and a sound; the catalogue built.
class EditorTabTest : public testsupport::SimFixture {
 protected:
  EditorTabTest() {
    makeSimulator(80, "FS2002");
    for (const char* name : {"Bravo", "Alpha", "Delta", "Charlie"})
      writeFile(air(name) + "\\aircraft.cfg", testsupport::aircraftCfg({{.title = name}}));
    writeFile(air("aircraft.cfg"), testsupport::aircraftCfg({{.title = "Loose"}}));
    writeFile(air("Alpha\\panel\\panel.cfg"), testsupport::panelCfg("Alpha panel"));
    writeFile(air("fsfsconv\\panel.Glass\\panel.cfg"), testsupport::panelCfg("Glass"));
    writeFile(air("fsfsconv\\sound.Radial\\sound.cfg"), testsupport::soundCfg("Radial"));
    aircraft.Search();
  }
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (const auto& r : editor.editLst.items()) out.push_back(r.text);
    return out;
  }
  void click(int row) {
    editor.editLst_MouseDown(ui::LeftButton);
    editor.editLst_ItemClick(row);
  }

  ui::AircraftTab aircraft{ctx()};
  ui::EditorTab editor{ctx(), aircraft};
};

// Each mode lists its kind of the catalogue with the first row selected;
// a stale catalogue is rebuilt first.
TEST_F(EditorTabTest, FillsEachModeFromTheCatalogue) {
  const struct {
    int mode;
    const char* caption;
    std::vector<std::string> rows;
    std::string path;
  } modes[] = {{ui::PanelMode, "E&dit Panel", {"Alpha panel", "Glass"}, air("Alpha\\panel\\")},
               {ui::SoundMode, "E&dit Sound", {"Radial"}, air("fsfsconv\\sound.Radial\\")},
               {ui::AircraftMode, "E&dit Aircraft", {"Alpha", "Bravo", "Charlie", "Delta", "Loose"}, air("Alpha\\")}};
  for (const auto& m : modes) {
    SCOPED_TRACE(m.caption);
    editor.FillEditList(m.mode);
    EXPECT_EQ(editor.editCmd.caption, m.caption);
    EXPECT_EQ(rows(), m.rows);
    EXPECT_EQ(editor.editLst.selectedIndex(), 0);
    EXPECT_EQ(editor.nameTxt.text + "|" + editor.pathTxt.text, m.rows.front() + "|" + m.path);
  }
  editor.FillEditList(7);
  EXPECT_TRUE(rows().empty());
  EXPECT_EQ(editor.editCmd.caption, "E&dit Aircraft");

  std::filesystem::remove_all(host(air("Bravo")));
  state().catalogueStale = true;
  editor.FillEditList(ui::AircraftMode);
  EXPECT_EQ(rows(), (std::vector<std::string>{"Alpha", "Charlie", "Delta", "Loose"}));
  EXPECT_FALSE(state().catalogueStale);
}

// Typing renames at every key release and the row moves to its place;
// a rename the file does not take says why and shows the old name again.
TEST_F(EditorTabTest, RenamesAsTypedAndSaysWhyNot) {
  editor.FillEditList(ui::AircraftMode);
  click(0);
  for (const std::string typed : {"Z", "Zu", "Zulu"}) {
    editor.nameTxt.text = typed;
    editor.nameTxt_KeyUp('A', 0);
  }
  EXPECT_EQ(rows(), (std::vector<std::string>{"Bravo", "Charlie", "Delta", "Loose", "Zulu"}));
  EXPECT_EQ(editor.editLst.selectedIndex(), 4);
  EXPECT_EQ(editor.nameTxt.text, "Zulu");

  ::chmod(host(air("Bravo\\aircraft.cfg")).c_str(), 0444);
  click(0);
  dialogs.expectMessage("");
  editor.nameTxt.text = "Albatross";
  editor.nameTxt_KeyUp('A', 0);
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(editor.nameTxt.text, "Bravo");
  EXPECT_EQ(rows().front(), "Bravo");
}

// A deletion asks first (an aircraft twice), naming the folder, what goes
// with it and where the files go, and selects the row before the deleted
// one, or the first; No or Cancel changes nothing, and the folder of the
// aircraft folder itself is refused before any question.
TEST_F(EditorTabTest, DeleteAsksAndSelectsThePreviousOrTheFirstRow) {
  const auto Yes = core::Answer::Yes, Ok = core::Answer::OK;
  const std::string noTrash = " There is no trash: everything is deleted for good.";
  const auto lone = [&](const std::string& name) {
    return "The whole folder " + air(name + "\\") + " goes with everything in it; no other variant is in it." + noTrash;
  };
  const std::string glass = "The folder " + air("fsfsconv\\panel.Glass\\") + " goes with its doc folder.";
  const std::string alpha =
      "The whole folder " + air("Alpha\\") + " goes with everything in it, including the panel \"Alpha panel\".";
  const struct {
    int mode;
    const char* name;
    std::string scope;           // the line below the question
    core::Answer first, second;  // second: not asked for a panel or after No
    std::vector<std::string> left;
    int selected;
  } cases[] = {
      {ui::PanelMode, "Glass", glass + noTrash, Yes, Ok, {"Alpha panel"}, 0},
      {ui::AircraftMode, "Alpha", alpha + noTrash, Yes, Ok, {"Bravo", "Charlie", "Delta", "Loose"}, 0},
      {ui::AircraftMode, "Delta", lone("Delta"), Yes, Ok, {"Bravo", "Charlie", "Loose"}, 1},
      {ui::AircraftMode, "Bravo", lone("Bravo"), core::Answer::No, Ok, {"Bravo", "Charlie", "Loose"}, 0},
      {ui::AircraftMode, "Charlie", lone("Charlie"), Yes, core::Answer::Cancel, {"Bravo", "Charlie", "Loose"}, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    editor.FillEditList(c.mode);
    int index = 0;
    while (editor.editLst.item(index).text != c.name) ++index;
    click(index);
    dialogs.expectMessage(std::string("Do you want to delete ") + c.name + "?\r\n\r\n" + c.scope,
                          std::string("Delete ") + c.name, core::Buttons::YesNo, core::Icon::Exclamation, c.first);
    if (c.mode == ui::AircraftMode && c.first == Yes)
      dialogs.expectMessage("All files and directories will be deleted!", "Warning",
                            core::Buttons::OKCancelDefaultCancel, core::Icon::Exclamation, c.second);
    editor.delCap_Click();
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(rows(), c.left);
    if (c.mode == ui::PanelMode)
      EXPECT_EQ(aircraft.panelCom.items(), (std::vector<std::string>{"---Not Listed---", "Alpha panel"}));
    else
      EXPECT_EQ(aircraft.flyLst.count(), static_cast<int>(c.left.size()));
    EXPECT_EQ(editor.editLst.selectedIndex(), c.selected);
    EXPECT_EQ(editor.nameTxt.text, editor.editLst.item(c.selected).text);
  }
  editor.FillEditList(ui::AircraftMode);
  click(2);
  dialogs.expectMessage("Loose is not deleted: its folder\r\n" + air("") + "\r\nis not inside C:\\FS2002\\aircraft\\.",
                        "Delete Loose", core::Buttons::OK, core::Icon::Exclamation);
  editor.delCap_Click();
  EXPECT_TRUE(dialogs.done());
  EXPECT_TRUE(exists(air("aircraft.cfg")));

  // With a trash, the question says the files go there, and names every
  // other variant of the folder.
  const auto trash = core::makeDesktopTrash(ctx().env);
  ctx().trash = trash.get();
  writeFile(air("Echo\\aircraft.cfg"),
            testsupport::aircraftCfg({{.title = "Echo"}, {.title = "Echo Ski"}, {.title = "Echo Float"}}));
  writeFile(air("Echo\\sound\\sound.cfg"), testsupport::soundCfg("Echo radial"));
  aircraft.Search();
  editor.FillEditList(ui::AircraftMode);
  click(2);
  dialogs.expectMessage("Do you want to delete Echo?\r\n\r\nThe whole folder " + air("Echo\\") +
                            " goes with everything in it, including the variants \"Echo Float\" and \"Echo Ski\" and "
                            "the sound \"Echo radial\". Everything goes to the trash.",
                        "Delete Echo", core::Buttons::YesNo, core::Icon::Exclamation, core::Answer::No);
  editor.delCap_Click();
  EXPECT_TRUE(dialogs.done());
  ctx().trash = nullptr;
}

// Edit opens the folder in the desktop's file manager through xdg-open,
// without a shell; when nothing can be started the user is told which
// folder and why.
TEST_F(EditorTabTest, EditOpensTheFolderWithXdgOpen) {
  testsupport::writeHostFile(root + "/bin/xdg-open", "#!/bin/sh\n");
  ::chmod((root + "/bin/xdg-open").c_str(), 0755);
  testsupport::RecordingLauncher launcher2;
  auto ctx2 = contextWith(nullptr, &launcher2);
  ctx2->env.set("PATH", root + "/bin");
  ui::AircraftTab aircraft2(*ctx2);
  ui::EditorTab editor2(*ctx2, aircraft2);
  aircraft2.Search();
  editor2.FillEditList(ui::AircraftMode);
  editor2.editLst_ItemClick(2);
  editor2.editCmd_Click();
  editor2.editCap_Click();
  ASSERT_EQ(launcher2.starts.size(), 2u);
  ASSERT_EQ(launcher2.starts[0].argv.size(), 2u);
  EXPECT_EQ(launcher2.starts[0].argv[0], root + "/bin/xdg-open");
  EXPECT_TRUE(std::filesystem::equivalent(launcher2.starts[0].argv[1], host(air("Charlie"))));
  launcher2.failStart = true;
  dialogs.expectMessage("", "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
  editor2.editCmd_Click();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  const std::string& said = dialogs.messages()[0].text;
  EXPECT_NE(said.find(launcher2.starts[0].argv[1] + " cannot be shown: no file manager"), std::string::npos) << said;
}

}  // namespace
