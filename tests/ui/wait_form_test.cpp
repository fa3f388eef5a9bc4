#include "ui/wait_form.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "shell_fixture.h"

namespace {

class Progress : public uitest::ShellFixture {
 protected:
  Progress() { makeSimulator(80); }
  ui::WaitForm& wait() { return main->waitFrm; }
  void load(int mode, bool commandLine = false) {
    state().progressMode = static_cast<std::uint8_t>(mode);
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
  state().optRunManager = static_cast<std::uint8_t>(c.runManager);
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
