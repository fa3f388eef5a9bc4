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

struct UnloadCase {
  const char* name;
  int runManager;
  core::PackageKind kind;
  bool commandLine;
  int tab;    // selected afterwards; 1 = unchanged
  bool ends;  // the program ends
};

class ProgressUnload : public Progress, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(ProgressUnload, FollowsTheRunManagerOptionAndTheKeptCommandLineFlag) {
  const UnloadCase& c = GetParam();
  state().optRunManager = static_cast<core::Option>(c.runManager);
  load(1, c.commandLine);
  state().commandLineInstall = false;  // start-up resets it long before the user presses OK
  if (c.commandLine) ctx().windows().hideMainWindow();
  state().packageKind = c.kind;
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
}

// The tab opened after an install shows what was installed: the installed
// folder's first variant, or the Editor on the new panel or sound set,
// whichever list the toolbar had pressed before.
TEST_F(Progress, TheOpenedTabSelectsWhatWasInstalled) {
  const std::string air = "C:\\FS2002\\Aircraft\\";
  writeFile(air + "Alpha\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Alpha"}}));
  writeFile(air + "Alpha\\panel\\panel.cfg", testsupport::panelCfg("Alpha panel"));
  writeFile(air + "Alpha\\sound\\sound.cfg", testsupport::soundCfg("Alpha sound"));
  writeFile(air + "Zulu\\aircraft.cfg", testsupport::aircraftCfg({{.title = "Zulu"}, {.title = "Zulu Float"}}));
  writeFile(air + "fsfsconv\\panel.Glass\\panel.cfg", testsupport::panelCfg("Glass"));
  writeFile(air + "fsfsconv\\sound.Radial\\sound.cfg", testsupport::soundCfg("Radial"));
  state().optRunManager = core::Option::On;
  const struct {
    core::PackageKind kind;
    const char* folder;
    int tab, mode;  // mode: the Editor's list, 0 on the Aircraft tab
    const char* selected;
  } cases[] = {{core::PackageKind::Aircraft, "zulu", 2, 0, "Zulu"},
               {core::PackageKind::Panel, "Glass", 3, ui::PanelMode, "Glass"},
               {core::PackageKind::Sound, "Radial", 3, ui::SoundMode, "Radial"},
               {core::PackageKind::Aircraft, "Gone", 2, 0, "Alpha"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    main->ToolBar_ButtonClick(1);
    main->selectTab(1);
    state().catalogueStale = true;
    load(1);
    state().packageKind = c.kind;
    state().installFolderName = c.folder;
    wait().okCmd_Click();
    EXPECT_EQ(main->selectedTab, c.tab);
    const core::ListView& list = c.tab == 2 ? main->managerFra.flyLst : main->editFra.editLst;
    ASSERT_GE(list.selectedIndex(), 0);
    EXPECT_EQ(list.item(list.selectedIndex()).text, c.selected);
    if (c.mode) {
      EXPECT_EQ(main->editorMode(), c.mode);
      EXPECT_EQ(main->editFra.nameTxt.text, c.selected);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressUnload,
    ::testing::Values(UnloadCase{"AircraftOpensTheAircraftTab", 1, core::PackageKind::Aircraft, false, 2, false},
                      UnloadCase{"PanelOpensTheEditorTab", 1, core::PackageKind::Panel, false, 3, false},
                      UnloadCase{"CommandLineAircraftShowsTheManager", 1, core::PackageKind::Aircraft, true, 2, false},
                      UnloadCase{"CommandLineWithoutManagerEnds", 0, core::PackageKind::Aircraft, true, 1, true},
                      UnloadCase{"CommandLineSceneryEnds", 1, core::PackageKind::Scenery, true, 1, true},
                      UnloadCase{"ManagerOffKeepsRunning", 0, core::PackageKind::Aircraft, false, 1, false},
                      UnloadCase{"AdventureStaysOnInstallTab", 1, core::PackageKind::Adventure, false, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
