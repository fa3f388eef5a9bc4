#include "core/wine_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/environment.h"
#include "core/errors.h"
#include "core/layered_registry.h"
#include "core/registry.h"
#include "core/simulator.h"
#include "support/fake_prefix.h"
#include "support/sim_fixture.h"
#include "support/temp_dir.h"

namespace {

using testsupport::makeFakePrefix;
using testsupport::simulatorKeyBlock;

TEST(WinePrefixes, AreFoundInTheUsualPlacesInOrderEachOnce) {
  testsupport::TempDir tmp;
  const std::string home = tmp.path() + "/home";
  core::Environment env;
  env.set("HOME", home);
  env.set("WINEPREFIX", tmp.path() + "/explicit/");
  for (const char* p : {"/explicit", "/home/.wine", "/home/.local/share/bottles/bottles/b1",
                        "/home/.var/app/com.usebottles.bottles/data/bottles/bottles/b2", "/lutris-fs", "/home/Games/g1",
                        "/home/.PlayOnLinux/wineprefix/p1", "/home/.steam/steam/steamapps/compatdata/123/pfx",
                        "/home/.local/share/Steam/steamapps/compatdata/456/pfx"})
    makeFakePrefix(tmp.path() + p);
  // Not prefixes: no system.reg; a game file naming ~/.wine again.
  std::filesystem::create_directories(home + "/Games/not-a-prefix/dosdevices");
  testsupport::writeHostFile(home + "/.config/lutris/games/fs.yml",
                             "game:\n  exe: fs2002.exe\n  prefix: '" + tmp.path() + "/lutris-fs'\n");
  testsupport::writeHostFile(home + "/.config/lutris/games/again.yml", "game:\n  prefix: ~/.wine\n");

  std::vector<std::string> got;
  for (const auto& p : core::findWinePrefixes(env)) got.push_back(p.origin + " " + p.path.substr(tmp.path().size()));
  EXPECT_EQ(got, (std::vector<std::string>{
                     "WINEPREFIX /explicit", "~/.wine /home/.wine", "Bottles /home/.local/share/bottles/bottles/b1",
                     "Bottles /home/.var/app/com.usebottles.bottles/data/bottles/bottles/b2", "Lutris /lutris-fs",
                     "Lutris /home/Games/g1", "PlayOnLinux /home/.PlayOnLinux/wineprefix/p1",
                     "Proton /home/.steam/steam/steamapps/compatdata/123/pfx",
                     "Proton /home/.local/share/Steam/steamapps/compatdata/456/pfx"}));
}

// Three prefixes: the first names FS2002 with an empty marker, the second
// registers it in both registry views, the third holds an FS2000 copied
// into drive_c without any registry entry.
class PrefixRegistryTest : public testsupport::SimFixture {
 protected:
  PrefixRegistryTest() {
    makeFakePrefix(root + "/p0", simulatorKeyBlock("8.0", "EXE Path", "C:\\Empty", "PID", ""));
    makeFakePrefix(root + "/p1", simulatorKeyBlock("8.0", "EXE Path", "C:\\FS2002", "PID", "32bit") +
                                     simulatorKeyBlock("8.0", "EXE Path", "C:\\Other", "PID", "64bit", false) +
                                     "[Software\\\\Classes\\\\.zip] 1\n@=\"zipfile\"\n");
    makeFakePrefix(root + "/p2");
    testsupport::writeHostFile(root + "/p2/drive_c/Old Disk/Games/FS2000/FS2000.EXE", "");
    testsupport::writeHostFile(root + "/p2/drive_c/a/b/c/FS2002/fs2002.exe", "");  // four levels: too deep
    prefixes = std::make_unique<core::WinePrefixes>(std::vector<core::WinePrefix>{
        {root + "/p0", "WINEPREFIX"}, {root + "/p1", "~/.wine"}, {root + "/p2", "Lutris"}});
    ctx().winePrefixes = prefixes.get();
    layered = std::make_unique<core::LayeredRegistryStore>(*registry, *prefixes);
  }
  std::unique_ptr<core::WinePrefixes> prefixes;
  std::unique_ptr<core::LayeredRegistryStore> layered;
};

TEST_F(PrefixRegistryTest, TheSimulatorsPrefixIsTheFirstWithAMarker) {
  const std::string key = simulatorKey(80);
  EXPECT_EQ(prefixes->registeredFor(80), 1u);
  EXPECT_EQ(prefixes->registeredFor(70), std::nullopt);
  EXPECT_EQ(prefixes->registry(1).machineValue(key, "exe path"), "C:\\FS2002");  // the 32-bit view first
  EXPECT_EQ(prefixes->executableFolderFor(70), root + "/p2/drive_c/Old Disk/Games/FS2000");
  EXPECT_EQ(prefixes->executableFolderFor(80), std::nullopt);

  core::UseSimulatorPrefix(ctx(), 80);
  ASSERT_NE(prefixes->simulator(), nullptr);
  EXPECT_EQ(prefixes->simulator()->path, root + "/p1");
  EXPECT_EQ(drives.hostRoot('c'), root + "/c");  // drives set explicitly stay

  core::DriveTable fromPrefix;
  fromPrefix.set('c', "/elsewhere", "wine prefix");
  ASSERT_TRUE(fromPrefix.takePrefix(root + "/p1"));
  EXPECT_EQ(fromPrefix.hostRoot('c'), std::filesystem::canonical(root + "/p1/drive_c").string());
  EXPECT_FALSE(fromPrefix.takePrefix(root + "/p1"));
}

TEST_F(PrefixRegistryTest, TheOwnStoreLiesOverThePrefixAndTakesEveryWrite) {
  const std::string key = simulatorKey(80);
  const std::string before = testsupport::readHostFile(root + "/p1/system.reg");
  EXPECT_EQ(layered->query(core::Hive::LocalMachine, key, "PID"), "32bit");
  EXPECT_EQ(layered->query(core::Hive::ClassesRoot, ".ZIP", ""), "zipfile");
  EXPECT_TRUE(layered->keyExists(core::Hive::LocalMachine, "Software\\Microsoft\\Microsoft Games"));
  EXPECT_FALSE(layered->keyExists(core::Hive::LocalMachine, "Software\\Microsoft\\Microsoft Gam"));
  layered->setValue(core::Hive::LocalMachine, key, "EXE Path", "D:\\Mine");
  EXPECT_EQ(layered->query(core::Hive::LocalMachine, key, "EXE PATH"), "D:\\Mine");
  EXPECT_EQ(registry->query(core::Hive::LocalMachine, key, "EXE Path"), "D:\\Mine");
  EXPECT_EQ(testsupport::readHostFile(root + "/p1/system.reg"), before);
}

TEST_F(PrefixRegistryTest, PathsCrossBetweenTheProgramsDrivesAndThePrefixs) {
  core::UseSimulatorPrefix(ctx(), 80);
  std::string underZ = "Z:" + std::filesystem::canonical(root).string() + "/c/FS2002/TempZip/";
  std::replace(underZ.begin(), underZ.end(), '/', '\\');
  testsupport::writeHostFile(root + "/c/FS2002/TempZip/x", "");
  EXPECT_EQ(core::PathInPrefix(ctx(), "C:\\FS2002\\TempZip\\"), underZ);
  EXPECT_EQ(core::PathFromPrefix(ctx(), "c:\\windows\\Fonts"), "Z:\\p1\\drive_c\\windows\\Fonts");
  EXPECT_EQ(core::PathInPrefix(ctx(), "Q:\\nowhere"), "Q:\\nowhere");
}

TEST_F(PrefixRegistryTest, AnUnregisteredCopyInDriveCIsWhereTheFileDialogOpens) {
  state().simVersion = 70;
  dialogs.expectMessage("Please find your Flight Simulator 2000 main directory");
  dialogs.expectOpenFile("Find Flight Simulator 2000 main directory", std::nullopt);
  EXPECT_THROW(core::FindSimulator(ctx()), core::EndProgram);
  EXPECT_EQ(dialogs.openFileStartFolders, std::vector<std::string>{"Z:\\p2\\drive_c\\Old Disk\\Games\\FS2000"});
}

}  // namespace
