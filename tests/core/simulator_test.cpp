#include "core/simulator.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/errors.h"
#include "core/registry.h"
#include "support/sim_fixture.h"

namespace {

using core::Buttons;
using core::Hive;
using core::Icon;

class FindSimulatorTest : public testsupport::SimFixture {
 protected:
  std::string fsPath() { return settings->get("Hangarpak", "Main", "FS Path", "<absent>"); }
  void registerFolder(int version, const std::string& folder) {
    registry->setValue(Hive::LocalMachine, simulatorKey(version), version == 80 ? "EXE Path" : "Path", folder);
  }
};

// A folder that is not kept falls through to the registry, which here names
// C:\Reg holding every executable (or C:\Reg\, taken exactly as stored).
TEST_F(FindSimulatorTest, KeepsOnlyAFolderOfTheVersionAndNoNewerOne) {
  for (const char* exe : {"fs2002.exe", "fs2000.exe", "fltsim98.exe"}) writeFile(std::string("C:\\Reg\\") + exe);
  const struct {
    int version;
    std::vector<const char*> exes;  // in C:\Sim
    bool kept;
    const char* registered = "C:\\Reg";
  } cases[] = {
      {80, {"fs2002.exe"}, true},
      {80, {"fs2002.exe", "fs2000.exe"}, true},
      {80, {"fs2000.exe"}, false},
      {70, {"fs2000.exe"}, true},
      {70, {"fs2000.exe", "fs2002.exe"}, false},
      {61, {"fltsim98.exe"}, true},
      {61, {"fltsim98.exe", "fs2000.exe"}, false},
      {61, {}, false},
      {70, {}, false, "C:\\Reg\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.version) + " " + std::to_string(c.exes.size()) + " " + c.registered);
    std::filesystem::remove_all(host("C:\\Sim"));
    for (const char* exe : c.exes) writeFile(std::string("C:\\Sim\\") + exe);
    settings->save("Hangarpak", "Main", "FS Path", "");
    registerFolder(c.version, c.registered);
    state().simVersion = static_cast<std::int16_t>(c.version);
    state().simFolder = "C:\\Sim";

    core::FindSimulator(ctx());

    EXPECT_EQ(state().simFolder, c.kept ? "C:\\Sim" : c.registered);
    EXPECT_EQ(fsPath(), c.kept ? "" : c.registered);
  }
}

// A registry folder without the executable leads to the manual location;
// cancelling it ends the program without writing.
TEST_F(FindSimulatorTest, ARegistryFolderWithoutTheExecutableLeadsToTheManualLocation) {
  writeFile("C:\\Other\\fs2000.exe");
  registerFolder(80, "C:\\Other");
  state().simVersion = 80;
  dialogs.expectMessage("Please find your Flight Simulator 2002 main directory", "Find fs2002.exe", Buttons::OK,
                        Icon::Information);
  dialogs.expectOpenFile("Find Flight Simulator 2002 main directory", std::nullopt);
  EXPECT_THROW(core::FindSimulator(ctx()), core::EndProgram);
  EXPECT_EQ(registry->query(Hive::LocalMachine, simulatorKey(80), "PID"), std::nullopt);
  EXPECT_EQ(fsPath(), "<absent>");
}

// The chosen file's name is not checked: the length of the version's
// executable name is cut from it.
TEST_F(FindSimulatorTest, TheManualLocationMarksTheVersionInstalledAndRecordsTheFolder) {
  const struct {
    int version;
    const char *chosen, *folder, *marker, *folderValue, *product;
  } cases[] = {
      {80, "C:\\FS2002\\FS2002.EXE", "C:\\FS2002", "PID", "EXE Path", "Flight Simulator 2002 (fs2002.exe)"},
      {70, "C:\\Sims\\FS2000\\fs2000.exe", "C:\\Sims\\FS2000", "PID", "Path", "Flight Simulator 2000 (fs2000.exe)"},
      {61, "C:\\FS98\\fltsim98.exe", "C:\\FS98", "ProductID", "Path", "Flight Simulator 98 (fltsim98.exe)"},
      {80, "C:\\Sims\\flight.exe", "C:\\Sims", "PID", "EXE Path", "Flight Simulator 2002 (fs2002.exe)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    const core::SimulatorInfo* sim = core::simulatorInfo(c.version);
    ASSERT_NE(sim, nullptr);
    state().simVersion = static_cast<std::int16_t>(c.version);
    state().simFolder = "C:\\Nowhere";
    dialogs.openFileFilters.clear();
    const std::string product(sim->product), exe(sim->exe);
    dialogs.expectMessage("Please find your " + product + " main directory", "Find " + exe, Buttons::OK,
                          Icon::Information);
    dialogs.expectOpenFile("Find " + product + " main directory", c.chosen);

    core::FindSimulator(ctx());

    EXPECT_EQ(state().simFolder, c.folder);
    EXPECT_EQ(fsPath(), c.folder);
    EXPECT_EQ(registry->query(Hive::LocalMachine, simulatorKey(c.version), c.marker), "Any Value");
    EXPECT_EQ(registry->query(Hive::LocalMachine, simulatorKey(c.version), c.folderValue), c.folder);
    EXPECT_EQ(dialogs.openFileFilters, std::vector<std::string>{c.product + ("|" + exe)});
    EXPECT_TRUE(core::SimulatorRegistered(ctx(), c.version));
  }
}

TEST_F(FindSimulatorTest, WithNoVersionChosenOnlyTheChooserIsShown) {
  state().simVersion = core::simver::NotChosen;
  state().simFolder = "C:\\Before";
  dialogs.expectModal("fsOptFrm", [](core::ModalController& c) {
    auto& chooser = static_cast<core::FsOptForm&>(c);
    EXPECT_EQ(chooser.caption, "Choose FS version");
    EXPECT_TRUE(chooser.fs98Opt.value) << "Flight Simulator 98 is selected when the chooser opens";
    chooser.select(chooser.fs2000Opt);
    chooser.Command1_Click();
  });
  core::FindSimulator(ctx());
  EXPECT_EQ(state().simVersion, 70);
  EXPECT_EQ(state().simFolder, "C:\\Before");
  EXPECT_EQ(fsPath(), "<absent>");
  // Closed by its close box, the chooser takes the selection.
  state().simVersion = 5;
  dialogs.expectModal("fsOptFrm", [](core::ModalController& c) { EXPECT_TRUE(c.closeBox()); });
  core::FindSimulator(ctx());
  EXPECT_EQ(state().simVersion, 61);
}

}  // namespace
