#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "support/archive_builder.h"
#include "support/standins.h"

namespace {

// hangarpak-cli install over a tree whose outside programs are the stand-ins.
class CliInstallAddons : public clitest::CliFixture {
 protected:
  clitest::CliRun install(const std::string& archive) { return run({"install", archive}); }
};

TEST_F(CliInstallAddons, AdventureArchiveIsConvertedAndPlaced) {
  useSimulator(70, "FS70");
  testsupport::putConverters(host(state().simFolder));
  testsupport::ArchiveBuilder()
      .add("Old Tour.adv", "AAF adventure\r\nbody\r\n")
      .add("tour98.adv", "FS6x adventure\r\nbody\r\n")
      .add("tour.wav", "wave")
      .add("tour.stn", "situation")
      .writeTo(host("C:\\Downloads\\Tours.zip"));

  const auto run = install("C:\\Downloads\\Tours.zip");

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
  useSimulator(80, "FS80");
  writeFile("C:\\Downloads\\Alps.sif", "alps");
  // Without the scenery installer, the package is not counted.
  auto run = install("C:\\Downloads\\Alps.sif");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "0/1 file(s) successfully installed.\n");
  EXPECT_NE(run.err.find("Hangarpak could not find Ortholay in your system!"), std::string::npos) << run.err;

  testsupport::putSceneryInstaller(host("C:\\Program Files\\Ortholay"));
  settings->save("Ortholay", "General", "App Path", "C:\\Program Files\\Ortholay\\");

  // Named by its host path, as a shell user gives it.
  run = install(host("C:\\Downloads\\Alps.sif"));

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1/1 file(s) successfully installed.\n");
  const auto runs = testsupport::sceneryRuns(host("C:\\Program Files\\Ortholay"));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].package, "C:\\Downloads\\Alps.sif");
  EXPECT_EQ(runs[0].firstLine, "alps");
  EXPECT_FALSE(exists("Z:\\app\\TempZip\\Alps.sif"));
}

}  // namespace
