#include "ui/wait_form.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "shell_fixture.h"
#include "support/fs_configs.h"

namespace {

class Progress : public uitest::ShellFixture {
 protected:
  Progress() { makeSimulator(80); }
  ui::WaitForm& wait() { return main->waitFrm; }
  void load(int mode, bool commandLine = false) {
    state().progressMode = static_cast<core::ProgressMode>(mode);
    state().commandLineInstall = commandLine;
    ctx().windows().loadProgress();
  }
};

// Installing counts with a disabled OK, Update shows only the bar, another
// mode leaves the design as it is; a new load starts from the design.
TEST_F(Progress, EachModeShowsItsParts) {
  struct Case {
    int mode;
    const char* caption;
    bool done, ok, okEnabled, bar;
  };
  for (const Case& c : {Case{1, "Installing", true, true, false, false}, Case{2, "Update", false, false, true, true},
                        Case{0, "Please wait", true, true, true, true}}) {
    SCOPED_TRACE(c.mode);
    ctx().windows().setProgressMessage("Done!");
    ctx().windows().unloadProgress();
    load(c.mode);
    EXPECT_EQ(wait().caption, c.caption);
    EXPECT_EQ(wait().waitLbl.caption, "Please wait...");
    // Loading does not show the dialog.
    EXPECT_EQ((std::vector<bool>{wait().waitLbl.visible, wait().doneLbl.visible, wait().okCmd.visible,
                                 wait().okCmd.enabled, wait().progBar.visible, wait().visible}),
              (std::vector<bool>{true, c.done, c.ok, c.okEnabled, c.bar, false}));
  }
}

TEST_F(Progress, TheHostShowsHidesAndFillsTheDialog) {
  load(1);
  auto& host = ctx().windows();
  host.showProgress();
  EXPECT_TRUE(wait().visible);
  host.setProgressCounter("Installing file 1/2");
  host.hideProgress();
  EXPECT_FALSE(wait().visible);
  host.setProgressMessage("Done!");
  host.enableProgressOk();
  EXPECT_EQ(wait().doneLbl.caption, "Installing file 1/2");
  EXPECT_EQ(wait().waitLbl.caption, "Done!");
  EXPECT_TRUE(wait().okCmd.enabled);
  EXPECT_TRUE(host.progressLoaded());
  wait().okCmd_Click();
  EXPECT_FALSE(host.progressLoaded());
}

// After an install: the tab to open, and on it what was installed, the
// installed folder's first variant or the Editor on the new panel or sound
// set, over a tree of two aircraft folders, the first with its own panel
// and sound, and a panel and a sound set of their own.
struct UnloadCase {
  const char* name;
  int runManager;
  core::PackageKind kind;
  bool commandLine;
  int tab;                         // selected afterwards; 1 = unchanged
  bool ends;                       // the program ends
  const char* folder = "";         // the installed folder
  const char* selected = nullptr;  // the row selected on the opened tab
};

class ProgressUnload : public Progress, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(ProgressUnload, FollowsTheRunManagerOptionAndTheKeptCommandLineFlagAndSelectsWhatWasInstalled) {
  const UnloadCase& c = GetParam();
  const std::string air = "C:\\FS2002\\Aircraft\\";
  writeFile(air + "Alpha\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Alpha"}}));
  writeFile(air + "Alpha\\panel\\panel.cfg", testsupport::panelCfg("Alpha panel"));
  writeFile(air + "Alpha\\sound\\sound.cfg", testsupport::soundCfg("Alpha sound"));
  writeFile(air + "Zulu\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Zulu"}, {.title = "Zulu Float"}}));
  writeFile(air + "fsfsconv\\panel.Glass\\panel.cfg", testsupport::panelCfg("Glass"));
  writeFile(air + "fsfsconv\\sound.Radial\\sound.cfg", testsupport::soundCfg("Radial"));
  state().optRunManager = static_cast<core::Option>(c.runManager);
  load(1, c.commandLine);
  state().commandLineInstall = false;  // start-up resets it long before the user presses OK
  if (c.commandLine) ctx().windows().hideMainWindow();
  state().packageKind = c.kind;
  state().installFolderName = c.folder;
  ctx().windows().showProgress();

  if (c.ends) {
    EXPECT_THROW(wait().okCmd_Click(), core::EndProgram);
  } else {
    wait().okCmd_Click();
  }
  EXPECT_EQ(main->selectedTab, c.tab);
  if (c.tab != 1) {
    EXPECT_TRUE(main->visible) << "the manager is shown, also after a command-line run";
    EXPECT_EQ(wait().caption, "Update") << "the dialog reported the rebuild";
  }
  EXPECT_FALSE(wait().loaded);
  if (!c.selected) return;
  const core::ListView& list = c.tab == 2 ? main->managerFra.flyLst : main->editFra.editLst;
  ASSERT_GE(list.selectedIndex(), 0);
  EXPECT_EQ(list.item(list.selectedIndex()).text, c.selected);
  if (c.tab == 3) {
    EXPECT_EQ(main->editorMode(), c.kind == core::PackageKind::Panel ? ui::PanelMode : ui::SoundMode);
    EXPECT_EQ(main->editFra.nameTxt.text, c.selected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressUnload,
    ::testing::Values(
        UnloadCase{"AircraftOpensTheAircraftTab", 1, core::PackageKind::Aircraft, false, 2, false, "zulu", "Zulu"},
        UnloadCase{"AFolderNotListedSelectsTheFirst", 1, core::PackageKind::Aircraft, false, 2, false, "Gone", "Alpha"},
        UnloadCase{"PanelOpensTheEditorTab", 1, core::PackageKind::Panel, false, 3, false, "Glass", "Glass"},
        UnloadCase{"SoundOpensTheEditorTab", 1, core::PackageKind::Sound, false, 3, false, "Radial", "Radial"},
        UnloadCase{"CommandLineAircraftShowsTheManager", 1, core::PackageKind::Aircraft, true, 2, false},
        UnloadCase{"CommandLineWithoutManagerEnds", 0, core::PackageKind::Aircraft, true, 1, true},
        UnloadCase{"CommandLineSceneryEnds", 1, core::PackageKind::Scenery, true, 1, true},
        UnloadCase{"ManagerOffKeepsRunning", 0, core::PackageKind::Aircraft, false, 1, false},
        UnloadCase{"AdventureStaysOnInstallTab", 1, core::PackageKind::Adventure, false, 1, false}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
