#include "install/scenery.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/registry.h"
#include "support/sim_fixture.h"
#include "support/standins.h"

namespace {

using core::Buttons;
using core::Icon;

const char* const kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ortholay.exe";

class SceneryTest : public testsupport::SimFixture {
 protected:
  SceneryTest() { makeSimulator(80); }

  // The installer stand-in in a Windows folder (with trailing backslash).
  void putInstaller(const std::string& folder) { testsupport::putSceneryInstaller(host(folder)); }
  std::vector<testsupport::SceneryRun> runsIn(const std::string& folder) {
    return testsupport::sceneryRuns(host(folder));
  }
  void setAppPath(const std::string& value) { settings->save("Ortholay", "General", "App Path", value); }
  void setRegistryPath(const std::string& value) {
    registry->setValue(core::Hive::LocalMachine, kAppPathsKey, "", value);
  }
  std::string qxStart() { return settings->get("Ortholay", "General", "QX Start", "(none)"); }
  std::string tempZip() { return ctx().appFolder() + "\\TempZip"; }
};

TEST_F(SceneryTest, EachSifInTempZipIsHandedOverAfterItsQxStart) {
  const std::string folder = "C:\\Program Files\\Ortholay\\";
  putInstaller(folder);
  setAppPath(folder);
  writeFile(tempZip() + "\\b_hills.SIF", "hills");
  writeFile(tempZip() + "\\a_coast.sif", "coast");
  writeFile(tempZip() + "\\c_town.sif", "town");
  writeFile(tempZip() + "\\readme.txt", "not a package");
  state().installedCount = 2;

  install::RunSceneryInstaller(ctx(), "");

  const auto runs = runsIn(folder);
  ASSERT_EQ(runs.size(), 3u);
  // Each run found the package that "QX Start" named at its start.
  const std::pair<const char*, const char*> expected[] = {
      {"a_coast.sif", "coast"}, {"b_hills.SIF", "hills"}, {"c_town.sif", "town"}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(runs[i].package, "Z:\\app\\TempZip\\" + std::string(expected[i].first));
    EXPECT_EQ(runs[i].firstLine, expected[i].second);
  }
  EXPECT_EQ(state().installedCount, 5);
  EXPECT_EQ(qxStart(), "Z:\\app\\TempZip\\c_town.sif");
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_GT(dialogs.keepPaintingCalls, 0);
}

// A package picked directly is handed over in place.
TEST_F(SceneryTest, InstallerIsLookedForInTheSettingsThenTheRegistry) {
  struct Case {
    const char* name;
    std::string appPath;       // "" = not set
    std::string registryPath;  // "" = not set
    const char* used;          // folder of the installer that ran, nullptr = none found
  };
  // Two installers, so the case shows which one ran.
  const std::string viaSettings = "C:\\Ortholay\\";
  const std::string viaRegistry = "C:\\Program Files\\Ortho\\";
  const Case cases[] = {
      {"settings first", viaSettings, viaRegistry + "Ortholay.exe", "C:\\Ortholay\\"},
      {"settings wrong, registry right", "C:\\Nowhere\\", viaRegistry + "Ortholay.exe", "C:\\Program Files\\Ortho\\"},
      {"settings without backslash", "C:\\Ortholay", viaRegistry + "Ortholay.exe", "C:\\Program Files\\Ortho\\"},
      {"settings empty, registry right", "", viaRegistry + "Ortholay.exe", "C:\\Program Files\\Ortho\\"},
      {"registry names a folder", "", viaRegistry, nullptr},
      {"neither", "C:\\Nowhere\\", "C:\\Nowhere\\Ortholay.exe", nullptr},
      {"nothing set", "", "", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(root + "/config/Ortholay");
    registry->deleteKey(core::Hive::LocalMachine, kAppPathsKey);
    std::filesystem::remove_all(host("C:\\Ortholay"));
    std::filesystem::remove_all(host("C:\\Program Files"));
    putInstaller(viaSettings);
    putInstaller(viaRegistry);
    if (!c.appPath.empty()) setAppPath(c.appPath);
    if (!c.registryPath.empty()) setRegistryPath(c.registryPath);
    writeFile("C:\\Scenery\\alps.sif", "alps");
    writeFile(tempZip() + "\\other.sif", "from an earlier archive");  // not handed over
    state().installedCount = 0;
    if (!c.used)
      dialogs.expectMessage(
          "Hangarpak could not find Ortholay in your system!\r\n\r\n"
          "You can download the latest version of Ortholay here:\r\n" +
              std::string(install::kOrtholayDownloadAddress),
          "Could not find Ortholay", Buttons::OK, Icon::Exclamation);

    install::RunSceneryInstaller(ctx(), "C:\\Scenery\\alps.sif");

    EXPECT_TRUE(dialogs.done());
    const auto settingsRuns = runsIn(viaSettings);
    const auto registryRuns = runsIn(viaRegistry);
    if (c.used) {
      const auto& used = std::string(c.used) == viaSettings ? settingsRuns : registryRuns;
      const auto& unused = std::string(c.used) == viaSettings ? registryRuns : settingsRuns;
      ASSERT_EQ(used.size(), 1u);
      EXPECT_EQ(used[0].package, "C:\\Scenery\\alps.sif");
      EXPECT_TRUE(unused.empty());
      EXPECT_EQ(state().installedCount, 1);
    } else {
      EXPECT_TRUE(settingsRuns.empty());
      EXPECT_TRUE(registryRuns.empty());
      EXPECT_EQ(state().installedCount, 0);
      EXPECT_EQ(qxStart(), "(none)");
    }
  }
}

}  // namespace
