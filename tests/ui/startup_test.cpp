#include <gtest/gtest.h>

#include "core/association.h"
#include "core/errors.h"
#include "core/simulator.h"
#include "core/single_instance.h"
#include "shell_fixture.h"
#include "ui/option_form.h"
#include "ui/start_form.h"

namespace {

using core::Buttons;
using core::Icon;

class Startup : public uitest::ShellFixture {};

// A first start: an archive named on the command line is installed first,
// then the greeting, the options and the version chooser are shown.
TEST_F(Startup, EmptyStoreShowsGreetingThenOptionsThenMarksTheFirstRunDone) {
  writeFile("C:\\FS2002\\FS2002.EXE");
  std::vector<std::string> order;
  main->commandLineInstaller = [&] {
    order.push_back("install " + state().commandLineArchive + (state().commandLineInstall ? " (command line)" : ""));
  };
  dialogs.expectModal("startFrm", [&](core::ModalController& c) {
    order.push_back("startFrm, RunOnce " + setting("Options", "RunOnce"));
    static_cast<ui::StartForm&>(c).okCmd_Click();
  });
  // The options dialog finds no registered simulator: the version chooser
  // comes first, then the manual location.
  dialogs.expectModal("optionFrm", [&](core::ModalController& c) {
    auto& options = static_cast<ui::OptionForm&>(c);
    order.push_back("optionFrm");
    EXPECT_TRUE(options.fs2002Opt.enabled);
    EXPECT_FALSE(options.fs2000Opt.enabled);
    options.okCmd_Click();
  });
  dialogs.expectModal("fsOptFrm", [&](core::ModalController& c) {
    auto& chooser = static_cast<core::FsOptForm&>(c);
    order.push_back("fsOptFrm");
    chooser.select(chooser.fs2002Opt);
    chooser.Command1_Click();
  });
  dialogs.expectMessage("Please find your Flight Simulator 2002 main directory", "Find fs2002.exe", Buttons::OK,
                        Icon::Information);
  dialogs.expectOpenFile("Find Flight Simulator 2002 main directory", "C:\\FS2002\\FS2002.EXE");

  main->Form_Load("C:\\Downloads\\My Plane.zip");

  EXPECT_EQ(order, (std::vector<std::string>{"install C:\\Downloads\\My Plane.zip (command line)",
                                             "startFrm, RunOnce <absent>", "fsOptFrm", "optionFrm"}));
  EXPECT_FALSE(state().commandLineInstall);
  EXPECT_EQ(state().currentTab, 0);
  EXPECT_EQ(setting("Options", "RunOnce"), "1");
  EXPECT_EQ(setting("Options", "FS Version"), "80");
  EXPECT_EQ(state().simFolder, "C:\\FS2002");
  EXPECT_TRUE(state().catalogueStale);
  EXPECT_TRUE(dialogs.done());
}

TEST_F(Startup, SecondInstanceShowsOnlyTheMessageAndTouchesNoSetting) {
  auto first = core::InstanceLock::acquire(core::lockFilePath(ctx().locations));
  ASSERT_NE(first, nullptr);
  setSetting("Options", "RunOnce", "1");
  setSetting("Main", "Startup Path", "C:\\Games");
  const std::string settingsFile = settings->fileFor("Hangarpak");
  const std::string before = testsupport::readHostFile(settingsFile);
  writeFile("Z:\\app\\TempZip\\left.txt", "from the first instance");

  dialogs.expectMessage("Hangarpak is already running!", "Hangarpak", Buttons::OK, Icon::Exclamation);
  EXPECT_THROW(main->Form_Load("C:\\a.zip"), core::EndProgram);

  EXPECT_EQ(testsupport::readHostFile(settingsFile), before);
  EXPECT_TRUE(exists("Z:\\app\\TempZip\\left.txt"));
  EXPECT_EQ(state().commandLineArchive, "");
}

struct BadValue {
  const char* name;
  const char* key;
  const char* value;
};

class StartupRecovery : public uitest::ShellFixture, public ::testing::WithParamInterface<BadValue> {};

// The later settings, the TempZip clearing, the first-run dialogs, the
// association and the detection are all skipped; both lists land on C:\.
TEST_P(StartupRecovery, SkipsTheRemainingStepsAndPutsBothListsOnDriveC) {
  writeFile("C:\\Games\\x.zip");
  setSetting("Main", "Startup Path", "C:\\Games");
  setSetting("Options", "FS Version", "80");
  setSetting("Options", "Associate", "1");
  setSetting("Options", "Folder Name", "1");  // after every key of the table but Associate
  setSetting("Options", GetParam().key, GetParam().value);
  writeFile("Z:\\app\\TempZip\\left.txt");

  main->Form_Load("");  // RunOnce is "0": no dialog may come all the same

  EXPECT_EQ(main->installFra.ZipFileDir.path(), "C:\\");
  EXPECT_EQ(state().startupFolder, "C:\\Games");  // loaded before the failure
  EXPECT_TRUE(exists("Z:\\app\\TempZip\\left.txt"));
  EXPECT_FALSE(registry->keyExists(core::Hive::ClassesRoot, core::kShellCommandKey));
  EXPECT_EQ(setting("Options", "RunOnce"), "<absent>");
  EXPECT_TRUE(dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, StartupRecovery,
                         ::testing::Values(BadValue{"Text", "Install Doc", "yes"},
                                           BadValue{"ByteOverflow", "Install Doc", "256"},
                                           BadValue{"Int16Overflow", "FS Version", "70000"},
                                           BadValue{"Empty", "Associate", ""}),
                         [](const auto& test) { return std::string(test.param.name); });

// A start after the first run: the lock of an instance that ended is free,
// what an earlier run left in TempZip goes, and without Associate nothing is
// written; numbers with blanks and fractions load as their rounded value.
// Shutting down stores the application folder and clears TempZip.
TEST_F(Startup, OpensTheInstallTabOnTheLastFolderAndGivesTheToolbarItsImages) {
  { auto first = core::InstanceLock::acquire(core::lockFilePath(ctx().locations)); }
  storeAfterFirstRun();
  setSetting("Options", "FS Version", " 80 ");
  setSetting("Options", "Run Manager", "0.5");  // half to even
  setSetting("Options", "Install Doc", "1.5");
  writeFile("Z:\\app\\TempZip\\left.txt");
  writeFile("C:\\Games\\Addons\\a.zip");
  setSetting("Main", "Startup Path", "C:\\Games\\Addons");
  main->Form_Load("");
  EXPECT_EQ(main->installFra.ZipFileDir.path(), "C:\\Games\\Addons");
  std::vector<int> images;
  for (const auto& b : main->toolButtons) images.push_back(b.image);
  EXPECT_EQ(images, (std::vector<int>{1, 2, 3, 0, 4, 5, 6}));
  EXPECT_EQ(main->caption, "Hangarpak 2000");
  EXPECT_EQ(main->selectedTab, 1);
  EXPECT_EQ(state().simVersion, 80);
  EXPECT_EQ(state().optRunManager, core::Option::Off);
  EXPECT_EQ(state().optInstallDoc, core::Option::Unset);
  EXPECT_EQ(state().optAddonName, core::Option::Unset) << "an absent Addon Name stays 'never set'";
  EXPECT_FALSE(exists("Z:\\app\\TempZip"));
  EXPECT_EQ(core::InstanceLock::acquire(core::lockFilePath(ctx().locations)), nullptr);
  EXPECT_FALSE(registry->keyExists(core::Hive::ClassesRoot, core::kShellCommandKey));
  EXPECT_FALSE(testsupport::hostExists(core::desktopEntryPath(ctx().locations)));
  writeFile("Z:\\app\\TempZip\\x.txt");
  EXPECT_THROW(main->lukk2Cmd_Click(), core::EndProgram);
  EXPECT_EQ(setting("Main", "App Path"), ctx().appFolder());
  EXPECT_FALSE(exists("Z:\\app\\TempZip\\x.txt"));
}

TEST_F(Startup, TheAssociationIsRewrittenLowerCasedAtEveryStart) {
  storeAfterFirstRun();
  setSetting("Options", "Associate", "1");
  ctx().locations.programFolder = root + "/Program Files/HangarPak";
  const std::string expected = "\"z:\\program files\\hangarpak\\hangarpak.exe\" %1";

  main->Form_Load("");
  EXPECT_EQ(registry->query(core::Hive::ClassesRoot, core::kShellCommandKey, ""), expected);
  const std::string entry = testsupport::readHostFile(core::desktopEntryPath(ctx().locations));
  EXPECT_NE(entry.find("MimeType=application/zip;\n"), std::string::npos);
  EXPECT_NE(entry.find("Exec=\"" + root + "/Program Files/HangarPak/hangarpak\" %f\n"), std::string::npos) << entry;

  // Someone changed it; the next start writes it again.
  main.reset();
  registry->setValue(core::Hive::ClassesRoot, core::kShellCommandKey, "", "other.exe %1");
  main = std::make_unique<ui::MainWindow>(ctx());
  main->Form_Load("");
  EXPECT_EQ(registry->query(core::Hive::ClassesRoot, core::kShellCommandKey, ""), expected);
}

}  // namespace
