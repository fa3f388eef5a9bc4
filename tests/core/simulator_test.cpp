#include "core/simulator.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/registry.h"
#include "support/sim_fixture.h"

namespace {

using core::Buttons;
using core::Hive;
using core::Icon;

std::string simKey(int version) {
  return std::string("SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\") + (version == 61   ? "6.1"
                                                                                    : version == 70 ? "7.0"
                                                                                                    : "8.0");
}

class FindSimulatorTest : public testsupport::SimFixture {
 protected:
  std::string fsPath() { return settings->get("Hangarpak", "Main", "FS Path", "<absent>"); }
  void registerFolder(int version, const std::string& folder) {
    registry->setValue(Hive::LocalMachine, simKey(version), version == 80 ? "EXE Path" : "Path", folder);
  }
};

struct KeepCase {
  const char* name;
  int version;
  std::vector<const char*> exes;  // in C:\Sim
  bool kept;
  const char* registered = "C:\\Reg";  // taken exactly as stored
};

class KeepRules : public FindSimulatorTest, public ::testing::WithParamInterface<KeepCase> {};

// A folder that is not kept falls through to the registry, which here names
// C:\Reg holding every executable.
TEST_P(KeepRules, KeepsOnlyAFolderOfTheVersionAndNoNewerOne) {
  const KeepCase& c = GetParam();
  for (const char* exe : c.exes) writeFile(std::string("C:\\Sim\\") + exe);
  for (const char* exe : {"fs2002.exe", "fs2000.exe", "fltsim98.exe"}) writeFile(std::string("C:\\Reg\\") + exe);
  registerFolder(c.version, c.registered);
  state().simVersion = static_cast<std::int16_t>(c.version);
  state().simFolder = "C:\\Sim";

  core::FindSimulator(ctx());

  EXPECT_EQ(state().simFolder, c.kept ? "C:\\Sim" : c.registered);
  EXPECT_EQ(fsPath(), c.kept ? "<absent>" : c.registered);
}

INSTANTIATE_TEST_SUITE_P(Versions, KeepRules,
                         ::testing::Values(KeepCase{"Fs2002Own", 80, {"fs2002.exe"}, true},
                                           KeepCase{"Fs2002WithOlderBeside", 80, {"fs2002.exe", "fs2000.exe"}, true},
                                           KeepCase{"Fs2002Missing", 80, {"fs2000.exe"}, false},
                                           KeepCase{"Fs2000Own", 70, {"fs2000.exe"}, true},
                                           KeepCase{"Fs2000UnderNewer", 70, {"fs2000.exe", "fs2002.exe"}, false},
                                           KeepCase{"Fs98Own", 61, {"fltsim98.exe"}, true},
                                           KeepCase{"Fs98UnderFs2000", 61, {"fltsim98.exe", "fs2000.exe"}, false},
                                           KeepCase{"Fs98Missing", 61, {}, false},
                                           KeepCase{"RegistryFolderWithBackslash", 70, {}, false, "C:\\Reg\\"}),
                         [](const auto& test) { return std::string(test.param.name); });

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
  EXPECT_EQ(registry->query(Hive::LocalMachine, simKey(80), "PID"), std::nullopt);
  EXPECT_EQ(fsPath(), "<absent>");
}

struct ManualCase {
  const char* name;
  int version;
  const char* chosen;
  const char* folder;
  const char* marker;
  const char* folderValue;
  const char* filter;
};

class ManualLocation : public FindSimulatorTest, public ::testing::WithParamInterface<ManualCase> {};

TEST_P(ManualLocation, MarksTheVersionInstalledAndRecordsTheFolder) {
  const ManualCase& c = GetParam();
  const core::SimulatorInfo* sim = core::simulatorInfo(c.version);
  ASSERT_NE(sim, nullptr);
  state().simVersion = static_cast<std::int16_t>(c.version);
  state().simFolder = "C:\\Nowhere";
  dialogs.expectMessage("Please find your " + std::string(sim->product) + " main directory",
                        "Find " + std::string(sim->exe), Buttons::OK, Icon::Information);
  dialogs.expectOpenFile("Find " + std::string(sim->product) + " main directory", c.chosen);

  core::FindSimulator(ctx());

  EXPECT_EQ(state().simFolder, c.folder);
  EXPECT_EQ(fsPath(), c.folder);
  EXPECT_EQ(registry->query(Hive::LocalMachine, simKey(c.version), c.marker), "Any Value");
  EXPECT_EQ(registry->query(Hive::LocalMachine, simKey(c.version), c.folderValue), c.folder);
  ASSERT_EQ(dialogs.openFileFilters.size(), 1u);
  EXPECT_EQ(dialogs.openFileFilters[0], c.filter);
  EXPECT_TRUE(core::SimulatorRegistered(ctx(), c.version));
}

INSTANTIATE_TEST_SUITE_P(Versions, ManualLocation,
                         ::testing::Values(ManualCase{"Fs2002", 80, "C:\\FS2002\\FS2002.EXE", "C:\\FS2002", "PID",
                                                      "EXE Path", "Flight Simulator 2002 (fs2002.exe)|fs2002.exe"},
                                           ManualCase{"Fs2000", 70, "C:\\Sims\\FS2000\\fs2000.exe", "C:\\Sims\\FS2000",
                                                      "PID", "Path", "Flight Simulator 2000 (fs2000.exe)|fs2000.exe"},
                                           ManualCase{"Fs98", 61, "C:\\FS98\\fltsim98.exe", "C:\\FS98", "ProductID",
                                                      "Path", "Flight Simulator 98 (fltsim98.exe)|fltsim98.exe"},
                                           // The chosen file's name is not checked; its length decides nothing either.
                                           ManualCase{"OtherNameStillDrops11", 80, "C:\\Sims\\flight.exe", "C:\\Sims",
                                                      "PID", "EXE Path",
                                                      "Flight Simulator 2002 (fs2002.exe)|fs2002.exe"}),
                         [](const auto& test) { return std::string(test.param.name); });

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
