#include <gtest/gtest.h>

#include <filesystem>

#include "core/profile.h"
#include "install/install_archive.h"
#include "install/install_fixture.h"
#include "support/standins.h"

namespace installtest {
namespace {

using core::Buttons;
using core::Icon;
using testsupport::ArchiveBuilder;

const char* const kFoundFs5 =
    "The aircraft is made for FS5.x. Please use Flight Shop Converter\n"
    "to convert the aircraft for FS98\\FS2000.\n\n"
    "The AIR file is located: Z:\\app\\TempZip";

// An FS5 aircraft: its .air file is larger than 15000 bytes.
ArchiveBuilder fs5Archive() {
  return ArchiveBuilder().add("Oldbird.air", std::string(20000, 'o')).add("oldbird.txt", "readme");
}

class ConversionTest : public InstallFixture {
 protected:
  void install(const std::string& path) {
    state().currentArchivePath = path;
    install::InstallArchive(ctx(), state().currentArchivePath);
  }
  std::vector<testsupport::ConverterRun> runs(const std::string& baseName) {
    return testsupport::converterRuns(host(state().simFolder), baseName);
  }
};

TEST_F(ConversionTest, Fs5AircraftIsConvertedAndCounted) {
  struct Case {
    int version;
    const char* converter;
    const char* other;
  };
  for (const Case& c : {Case{70, "aafconv", "aafconv98"}, Case{61, "aafconv98", "aafconv"}}) {
    SCOPED_TRACE(c.converter);
    std::filesystem::remove_all(root + "/c");
    makeSimulator(c.version, "FS" + std::to_string(c.version));
    testsupport::putConverters(host(state().simFolder));
    state().installedCount = 0;
    state().catalogueStale = 0;
    dialogs.expectMessage(kFoundFs5, "Hangarpak found FS5.x aircraft", Buttons::OK, Icon::Exclamation);

    install(putArchive("Oldbird.zip", fs5Archive()));

    EXPECT_TRUE(dialogs.done());
    const auto converted = runs(c.converter);
    ASSERT_EQ(converted.size(), 1u);
    EXPECT_EQ(converted[0].aircraftInput, "Z:\\app\\TempZip\\");
    EXPECT_EQ(converted[0].aircraft, std::vector<std::string>{"Oldbird.air"});
    EXPECT_TRUE(runs(c.other).empty());
    EXPECT_EQ(readFile(state().simFolder + "\\Aircraft\\Oldbird\\Oldbird.air"), std::string(20000, 'o'));
    EXPECT_EQ(state().installedCount, 1);
    EXPECT_EQ(state().catalogueStale, 1);
  }
}

TEST_F(ConversionTest, Fs5AircraftThatTheConverterLeftOutIsNotCounted) {
  makeSimulator(70, "FS2000");
  // A program under the converter's name that converts nothing.
  const std::string sim = host(state().simFolder);
  testsupport::writeHostFile(sim + "/aafconv.exe", "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(sim + "/aafconv.exe", std::filesystem::perms::owner_all);
  state().catalogueStale = 0;
  dialogs.expectMessage(kFoundFs5, "Hangarpak found FS5.x aircraft", Buttons::OK, Icon::Exclamation);

  install(putArchive("Oldbird.zip", fs5Archive()));

  EXPECT_EQ(core::profile::lookup(readFile(state().simFolder + "\\aafconv.cfg"), "Options", "AircraftInputPath"),
            "Z:\\app\\TempZip\\");
  EXPECT_FALSE(exists(state().simFolder + "\\Aircraft\\Oldbird"));
  EXPECT_EQ(state().installedCount, 0);
  EXPECT_EQ(state().catalogueStale, 1);
}

TEST_F(ConversionTest, Fs5AircraftWithoutConverterIsNotCounted) {
  makeSimulator(70, "FS2000");
  dialogs.expectMessage(kFoundFs5, "Hangarpak found FS5.x aircraft", Buttons::OK, Icon::Exclamation);
  dialogs.expectMessage("Could not find Flight Shop Converter!", "Installation aborted", Buttons::OK, Icon::Critical);

  install(putArchive("Oldbird.zip", fs5Archive()));

  EXPECT_FALSE(exists(state().simFolder + "\\Aircraft\\Oldbird"));
  EXPECT_EQ(state().installedCount, 0);
}

}  // namespace
}  // namespace installtest
