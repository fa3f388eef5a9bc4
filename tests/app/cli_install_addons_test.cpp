#include <gtest/gtest.h>

#include <sstream>

#include "app/cli.h"
#include "support/archive_builder.h"
#include "support/sim_fixture.h"
#include "support/standins.h"

namespace {

// hangarpak-cli install over a simulator tree whose outside programs are
// the stand-ins: the run's services come from the environment alone, as
// they do for the installed program.
class CliInstallAddons : public testsupport::SimFixture {
 protected:
  struct CliRun {
    int status;
    std::string out;
    std::string err;
  };

  void useSimulator(int version) {
    makeSimulator(version, "FS" + std::to_string(version));
    settings->save("Hangarpak", "Main", "FS Path", state().simFolder);
    settings->save("Hangarpak", "Options", "FS Version", std::to_string(version));
  }
  CliRun install(const std::string& archive) {
    std::ostringstream out, err;
    const int status = app::runCli({"install", archive}, out, err, env, root + "/bin/hangarpak-cli");
    return {status, out.str(), err.str()};
  }
};

TEST_F(CliInstallAddons, AdventureArchiveIsConvertedAndPlaced) {
  useSimulator(70);
  testsupport::putConverters(host(state().simFolder));
  testsupport::ArchiveBuilder()
      .add("Old Tour.adv", "AAF adventure\r\nbody\r\n")
      .add("tour98.adv", "FS6x adventure\r\nbody\r\n")
      .add("tour.wav", "wave")
      .add("tour.stn", "situation")
      .writeTo(host("C:\\Downloads\\Tours.zip"));

  const CliRun run = install("C:\\Downloads\\Tours.zip");

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1/1 file(s) successfully installed.\n");
  EXPECT_NE(run.err.find("Convert adventure"), std::string::npos) << run.err;
  const auto converted = testsupport::converterRuns(host(state().simFolder), "aafconv");
  ASSERT_EQ(converted.size(), 1u);
  EXPECT_EQ(converted[0].adventures, std::vector<std::string>{"Old Tour.adv"});
  EXPECT_TRUE(exists(state().simFolder + "\\Adv\\Old Tour.adv"));
  EXPECT_TRUE(exists(state().simFolder + "\\Adv\\Other\\tour98.adv"));
  EXPECT_TRUE(exists(state().simFolder + "\\Adv\\Wav\\tour.wav"));
  EXPECT_FALSE(exists(state().simFolder + "\\Situatio\\tour.stn"));
  EXPECT_FALSE(exists("Z:\\app\\TempAdv"));
}

TEST_F(CliInstallAddons, SifPackageIsHandedToTheSceneryInstaller) {
  useSimulator(80);
  testsupport::putSceneryInstaller(host("C:\\Program Files\\Ortholay"));
  settings->save("Ortholay", "General", "App Path", "C:\\Program Files\\Ortholay\\");
  writeFile("C:\\Downloads\\Alps.sif", "alps");

  // Named by its host path, as a shell user gives it.
  const CliRun run = install(host("C:\\Downloads\\Alps.sif"));

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1/1 file(s) successfully installed.\n");
  const auto runs = testsupport::sceneryRuns(host("C:\\Program Files\\Ortholay"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].package, "C:\\Downloads\\Alps.sif");
  EXPECT_EQ(runs[0].firstLine, "alps");
  EXPECT_FALSE(exists("Z:\\app\\TempZip\\Alps.sif"));
}

TEST_F(CliInstallAddons, SifPackageWithoutTheSceneryInstallerIsNotCounted) {
  useSimulator(80);
  writeFile("C:\\Downloads\\Alps.sif", "alps");

  const CliRun run = install("C:\\Downloads\\Alps.sif");

  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "0/1 file(s) successfully installed.\n");
  EXPECT_NE(run.err.find("Hangarpak could not find Ortholay in your system!"), std::string::npos) << run.err;
}

}  // namespace
