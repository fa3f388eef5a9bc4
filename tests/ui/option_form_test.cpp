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

TEST_F(Options, OnlyRegisteredVersionsAreEnabledAndTheFirstUseSelectsTheNewest) {
  makeSimulator(70, "FS2000");
  state().simVersion = core::simver::NotChosen;
  open([&](ui::OptionForm& f) {
    EXPECT_FALSE(f.fs98Opt.enabled);
    EXPECT_TRUE(f.fs2000Opt.enabled);
    EXPECT_FALSE(f.fs2002Opt.enabled);
    EXPECT_TRUE(f.fs2000Opt.value);
    EXPECT_EQ(state().simVersion, 70);
    EXPECT_EQ(setting("Options", "RunOnce"), "1") << "loading marks the first run done";
    f.okCmd_Click();
  });
  EXPECT_EQ(setting("Options", "FS Version"), "70");
}

TEST_F(Options, AStoredVersionNoLongerRegisteredIsShownOnADisabledButtonAndStoredAgain) {
  makeSimulator(70, "FS2000");
  writeFile("C:\\FS2002\\fs2002.exe");
  registry->setValue(core::Hive::LocalMachine, simKey(80), "EXE Path", "C:\\FS2002");
  state().simVersion = 80;
  open([&](ui::OptionForm& f) {
    EXPECT_TRUE(f.fs2002Opt.value);
    EXPECT_FALSE(f.fs2002Opt.enabled);
    EXPECT_FALSE(f.fs2000Opt.value);
    f.okCmd_Click();
  });
  EXPECT_EQ(setting("Options", "FS Version"), "80");
  EXPECT_EQ(state().simFolder, "C:\\FS2002");
}

TEST_F(Options, CheckBoxesShowTheOptionsAndOkSavesThemAll) {
  makeSimulator(80);
  writeFile("C:\\Scenery\\Addon\\x.bgl");
  state().optInstallDoc = 1;
  state().optAddonName = 2;
  state().optRunManager = 1;
  state().sceneryFolder = "C:\\Scenery\\Addon";
  open([&](ui::OptionForm& f) {
    EXPECT_EQ(f.docChk.value, 1);
    EXPECT_EQ(f.addonChk.value, 0) << "never set shows unchecked";
    EXPECT_EQ(f.manChk.value, 1);
    EXPECT_EQ(f.folderChk.value, 0);
    EXPECT_EQ(f.ScenDir.path(), "C:\\Scenery\\Addon");
    EXPECT_EQ(f.ScenDrv.drive(), "c:");
    f.addonChk.value = 1;
    f.docChk.value = 0;
    f.okCmd_Click();
  });
  EXPECT_EQ(setting("Main", "Scenery Path"), "C:\\Scenery\\Addon");
  EXPECT_EQ(setting("Options", "Addon Name"), "1");
  EXPECT_EQ(setting("Options", "Install Doc"), "0");
  EXPECT_EQ(setting("Options", "Folder Name"), "0");
  EXPECT_EQ(setting("Options", "Run Manager"), "1");
  EXPECT_EQ(setting("Options", "Associate"), "0");
  EXPECT_EQ(state().optAddonName, 1);
}

// An unavailable drive is refused and the folder stays; an available one
// moves the folder list to its root, which is stored without its backslash.
TEST_F(Options, TheDriveListMovesTheFolderListToAvailableDrivesOnly) {
  makeSimulator(80);
  drives.set('d', root + "/no-such-medium", "test");
  drives.set('e', root + "/e", "test");
  writeFile("C:\\Scenery\\x.bgl");
  writeFile("E:\\Scenery\\x.bgl");
  state().sceneryFolder = "C:\\Scenery";
  open([&](ui::OptionForm& f) {
    dialogs.expectMessage("Drive not available", "Error", Buttons::OK, Icon::Critical);
    f.ScenDrv_Change("d:");
    EXPECT_EQ(f.ScenDrv.drive(), "c:");
    EXPECT_EQ(f.ScenDir.path(), "C:\\Scenery");
    f.ScenDrv_Change("e:");
    EXPECT_EQ(f.ScenDir.path(), "E:\\");
    f.okCmd_Click();
  });
  EXPECT_EQ(setting("Main", "Scenery Path"), "E:");
  EXPECT_EQ(state().sceneryFolder, "E:");
}

TEST_F(Options, AVersionChangeOnTheAircraftTabSelectsTheFirstTabAndMarksTheCatalogueStale) {
  makeSimulator(70, "FS2000");
  makeSimulator(80);
  main->selectTab(2);
  state().catalogueStale = 0;
  open([&](ui::OptionForm& f) {
    f.select(f.fs2000Opt);
    f.okCmd_Click();
  });
  EXPECT_EQ(main->selectedTab, 1);
  EXPECT_EQ(main->caption, "Hangarpak 2000");
  EXPECT_EQ(state().catalogueStale, 1);
  EXPECT_EQ(state().simFolder, "C:\\FS2000");

  // OK without a version change leaves tab and catalogue alone.
  main->selectTab(3);
  state().catalogueStale = 0;
  open([&](ui::OptionForm& f) { f.okCmd_Click(); });
  EXPECT_EQ(main->selectedTab, 3);
  EXPECT_EQ(state().catalogueStale, 0);
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
}

TEST_F(Options, TheDesktopEntryQuotesAPathThatAShellWouldSplit) {
  const std::string text = core::desktopEntryText("/opt/My $HOME \"x\"/50%/hangarpak");
  EXPECT_NE(text.find("Exec=\"/opt/My \\\\$HOME \\\\\"x\\\\\"/50%%/hangarpak\" %f\n"), std::string::npos) << text;
}

TEST_F(Options, CancelBeforeTheFirstRunIsDoneAsksForConfirmationAndStaysOpen) {
  makeSimulator(80);
  open([&](ui::OptionForm& f) {
    setSetting("Options", "RunOnce", "0");  // as if loading had failed before marking it
    dialogs.expectMessage(" Press OK to confirm your settings!", "Confirm settings", Buttons::OK, Icon::Information);
    f.cancelCmd_Click();
    EXPECT_FALSE(f.unloaded());
    // The close box stores nothing.
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

TEST_F(Options, WithNothingRegisteredDetectionRunsUntilTheSimulatorIsLocated) {
  writeFile("C:\\FS2000\\fs2000.exe");
  state().simVersion = 70;
  state().simFolder = "C:\\FS2000";  // cleared before detection, so not kept
  dialogs.expectModal("optionFrm", [&](core::ModalController& c) {
    auto& f = static_cast<ui::OptionForm&>(c);
    EXPECT_TRUE(f.fs2000Opt.enabled);
    EXPECT_FALSE(f.fs2002Opt.enabled);
    f.okCmd_Click();
  });
  // While the dialog loads:
  dialogs.expectMessage("Please find your Flight Simulator 2000 main directory");
  dialogs.expectOpenFile("Find Flight Simulator 2000 main directory", "C:\\FS2000\\fs2000.exe");
  main->OptCap_Click();
  EXPECT_EQ(state().simFolder, "C:\\FS2000");
}

TEST_F(Options, ARegistryFolderWithoutMarkerDoesNotMakeLoadingAskForever) {
  writeFile("C:\\FS2002\\fs2002.exe");
  registry->setValue(core::Hive::LocalMachine, simKey(80), "EXE Path", "C:\\FS2002");
  state().simVersion = 80;
  open([&](ui::OptionForm& f) {
    EXPECT_TRUE(f.fs2002Opt.enabled);
    EXPECT_TRUE(f.fs2002Opt.value);
    EXPECT_EQ(state().simFolder, "C:\\FS2002");
    f.okCmd_Click();
  });
}

}  // namespace
