#include "ui/option_form.h"

#include <gtest/gtest.h>

#include "core/association.h"
#include "core/errors.h"
#include "shell_fixture.h"

namespace {

using core::Buttons;
using core::Icon;

class Options : public uitest::ShellFixture {
 protected:
  // Opens the dialog from the menu; play acts as the user.
  void open(const std::function<void(ui::OptionForm&)>& play) {
    dialogs.expectModal("optionFrm", [&](core::ModalController& c) {
      EXPECT_FALSE(main->enabled) << "the main window is disabled while the options are open";
      play(static_cast<ui::OptionForm&>(c));
    });
    main->OptCap_Click();
    EXPECT_TRUE(main->enabled);
  }
};

// What the registry holds decides which version buttons are enabled and
// which one is on: only registered versions are enabled and the first use
// selects the newest; a stored version no longer registered is shown on a
// disabled button and stored again; a registry folder without the marker
// does not make loading ask forever.
struct VersionCase {
  const char* name;
  bool fs2000, fs2002Folder;
  int stored;
  bool enabled2000, enabled2002;
  int on, saved;
};

class OptionVersions : public Options, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(OptionVersions, EnableTheRegisteredOnesAndKeepTheStoredOne) {
  const VersionCase& v = GetParam();
  if (v.fs2000) makeSimulator(70, "FS2000");
  if (v.fs2002Folder) {
    writeFile("C:\\FS2002\\fs2002.exe");
    registry->setValue(core::Hive::LocalMachine, "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0",
                       "EXE Path", "C:\\FS2002");
  }
  state().simVersion = static_cast<std::int16_t>(v.stored);
  open([&](ui::OptionForm& f) {
    EXPECT_EQ((std::vector<bool>{f.fs98Opt.enabled, f.fs2000Opt.enabled, f.fs2002Opt.enabled, f.fs2000Opt.value,
                                 f.fs2002Opt.value}),
              (std::vector<bool>{false, v.enabled2000, v.enabled2002, v.on == 70, v.on == 80}));
    EXPECT_EQ(state().simVersion, v.on);
    EXPECT_EQ(setting("Options", "RunOnce"), "1") << "loading marks the first run done";
    f.okCmd_Click();
  });
  EXPECT_EQ(setting("Options", "FS Version"), std::to_string(v.saved));
  EXPECT_EQ(state().simFolder, v.on == 70 ? "C:\\FS2000" : "C:\\FS2002");
}

INSTANTIATE_TEST_SUITE_P(Registry, OptionVersions,
                         ::testing::Values(VersionCase{"FirstUse", true, false, core::simver::NotChosen, true, false,
                                                       70, 70},
                                           VersionCase{"NoLongerRegistered", true, true, 80, true, false, 80, 80},
                                           VersionCase{"FolderWithoutMarker", false, true, 80, false, true, 80, 80}),
                         [](const auto& test) { return std::string(test.param.name); });

// With nothing registered, detection runs while the dialog loads until the
// simulator is located; a folder set before is cleared, so not kept.
TEST_F(Options, WithNothingRegisteredDetectionRunsUntilTheSimulatorIsLocated) {
  writeFile("C:\\FS2000\\fs2000.exe");
  state().simVersion = 70;
  state().simFolder = "C:\\FS2000";
  dialogs.expectModal("optionFrm", [&](core::ModalController& c) {
    auto& f = static_cast<ui::OptionForm&>(c);
    EXPECT_TRUE(f.fs2000Opt.enabled);
    EXPECT_FALSE(f.fs2002Opt.enabled);
    f.okCmd_Click();
  });
  dialogs.expectMessage("Please find your Flight Simulator 2000 main directory");
  dialogs.expectOpenFile("Find Flight Simulator 2000 main directory", "C:\\FS2000\\fs2000.exe");
  main->OptCap_Click();
  EXPECT_EQ(state().simFolder, "C:\\FS2000");
}

// The check boxes and the folder show the options and OK saves them all. An
// unavailable drive is refused and the folder stays; an available one moves
// the folder list to its root, which is stored without its backslash.
TEST_F(Options, CheckBoxesAndTheSceneryFolderShowTheOptionsAndOkSavesThemAll) {
  makeSimulator(80);
  drives.set('d', root + "/no-such-medium", "test");
  drives.set('e', root + "/e", "test");
  writeFile("C:\\Scenery\\Addon\\x.bgl");
  writeFile("E:\\Scenery\\x.bgl");
  state().optInstallDoc = core::Option::On;
  state().optAddonName = core::Option::Unset;
  state().optRunManager = core::Option::On;
  state().optFolderName = core::Option::Unset;  // grayed, and saved as it was
  state().sceneryFolder = "C:\\Scenery\\Addon";
  open([&](ui::OptionForm& f) {
    // Addon Name never set shows unchecked.
    EXPECT_EQ((std::vector<int>{f.docChk.value, f.addonChk.value, f.manChk.value, f.folderChk.value}),
              (std::vector<int>{1, 0, 1, 2}));
    EXPECT_EQ(f.ScenDir.path(), "C:\\Scenery\\Addon");
    EXPECT_EQ(f.ScenDrv.drive(), "c:");
    f.addonChk.value = 1;
    f.docChk.value = 0;
    dialogs.expectMessage("Drive not available", "Error", Buttons::OK, Icon::Critical);
    f.ScenDrv_Change("d:");
    EXPECT_EQ(f.ScenDrv.drive(), "c:");
    EXPECT_EQ(f.ScenDir.path(), "C:\\Scenery\\Addon");
    f.ScenDrv_Change("e:");
    EXPECT_EQ(f.ScenDir.path(), "E:\\");
    f.okCmd_Click();
  });
  std::vector<std::string> saved = {setting("Main", "Scenery Path"), state().sceneryFolder};
  for (const char* key : {"Addon Name", "Install Doc", "Folder Name", "Run Manager", "Associate"})
    saved.push_back(setting("Options", key));
  EXPECT_EQ(saved, (std::vector<std::string>{"E:", "E:", "1", "0", "2", "1", "0"}));
  EXPECT_EQ(state().optAddonName, core::Option::On);
}

TEST_F(Options, AVersionChangeOnTheAircraftTabSelectsTheFirstTabAndMarksTheCatalogueStale) {
  makeSimulator(70, "FS2000");
  makeSimulator(80);
  main->selectTab(2);
  state().catalogueStale = false;
  open([&](ui::OptionForm& f) {
    f.select(f.fs2000Opt);
    f.okCmd_Click();
  });
  EXPECT_EQ(main->selectedTab, 1);
  EXPECT_EQ(main->caption, "Hangarpak 2000");
  EXPECT_TRUE(state().catalogueStale);
  EXPECT_EQ(state().simFolder, "C:\\FS2000");

  // OK without a version change leaves tab and catalogue alone.
  main->selectTab(3);
  state().catalogueStale = false;
  open([&](ui::OptionForm& f) { f.okCmd_Click(); });
  EXPECT_EQ(main->selectedTab, 3);
  EXPECT_FALSE(state().catalogueStale);
}

TEST_F(Options, AssociateOnWritesTheCommandAndTheDesktopEntryAndOffRemovesBoth) {
  makeSimulator(80);
  ctx().locations.programFolder = root + "/Opt/Hangarpak";
  const std::string entry = core::desktopEntryPath(ctx().locations);
  open([&](ui::OptionForm& f) {
    f.assChk.value = 1;
    f.okCmd_Click();
  });
  EXPECT_EQ(registry->query(core::Hive::ClassesRoot, core::kShellCommandKey, ""),
            "\"z:\\opt\\hangarpak\\hangarpak.exe\" %1");
  ASSERT_TRUE(testsupport::hostExists(entry));

  open([&](ui::OptionForm& f) {
    EXPECT_EQ(f.assChk.value, 1);
    f.assChk.value = 0;
    f.okCmd_Click();
  });
  EXPECT_FALSE(registry->keyExists(core::Hive::ClassesRoot, core::kShellCommandKey));
  EXPECT_FALSE(registry->keyExists(core::Hive::ClassesRoot, core::kShellKey));
  EXPECT_FALSE(testsupport::hostExists(entry));
  EXPECT_EQ(setting("Options", "Associate"), "0");

  // A program path that a shell would split is quoted in the entry.
  const std::string text = core::desktopEntryText("/opt/My $HOME \"x\"/50%/hangarpak");
  EXPECT_NE(text.find("Exec=\"/opt/My \\\\$HOME \\\\\"x\\\\\"/50%%/hangarpak\" %f\n"), std::string::npos) << text;
}

// Before the first run is done Cancel asks for confirmation and the dialog
// stays open; after it, the close box stores nothing.
TEST_F(Options, CancelBeforeTheFirstRunIsDoneAsksForConfirmationAndStaysOpen) {
  makeSimulator(80);
  open([&](ui::OptionForm& f) {
    setSetting("Options", "RunOnce", "0");  // as if loading had failed before marking it
    dialogs.expectMessage(" Press OK to confirm your settings!", "Confirm settings", Buttons::OK, Icon::Information);
    f.cancelCmd_Click();
    EXPECT_FALSE(f.unloaded());
    setSetting("Options", "RunOnce", "1");
    f.assChk.value = 1;
    EXPECT_TRUE(f.closeBox());
  });
  EXPECT_EQ(setting("Options", "Associate"), "<absent>");
}

TEST_F(Options, ClosingBeforeTheFirstRunIsDoneEndsTheProgram) {
  makeSimulator(80);
  dialogs.expectModal("optionFrm", [&](core::ModalController& c) {
    setSetting("Options", "RunOnce", "0");
    EXPECT_THROW(c.closeBox(), core::EndProgram);
  });
  main->OptCap_Click();
}

}  // namespace
