#include "install/adventures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "adventure_fixture.h"
#include "core/profile.h"
#include "core/text.h"

namespace {

using core::Buttons;
using core::Icon;
using install::AdventureKind;
using installtest::AdventureFixture;
using installtest::kFs2000Adv;
using installtest::kFs98Adv;
using installtest::kOldAdv;

TEST(AdventureKindTest, FirstFieldDecidesInLowerCase) {
  struct Case {
    const char* name;
    std::string bytes;
    AdventureKind kind;
  };
  const Case cases[] = {
      {"fs2000 capitals", "FS7 ADVENTURE\r\n", AdventureKind::Fs2000},
      {"fs2000 leading blanks", "   fs7 adv\r\n", AdventureKind::Fs2000},
      {"fs98", "FS6x adventure, 3\r\n", AdventureKind::Fs98},
      {"signature cut by a comma", "FS7,ADVENTURE\r\n", AdventureKind::Old},
      {"signature on the second line", "\r\nFS7 Adventure\r\n", AdventureKind::Old},
      {"old", "AAF adventure\r\n", AdventureKind::Old},
      {"empty file", "", AdventureKind::Old},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(install::adventureKind(c.bytes), c.kind);
  }
}

TEST(AdventureTargetTest, FirstMatchByLastThreeCharacters) {
  struct Case {
    int version;
    const char* name;
    std::optional<std::string> folder;
  };
  const Case cases[] = {
      {61, "trip.ADV", "\\Adv\\"},        {61, "engine.wav", "\\Adv\\Wav\\"}, {61, "start.STN", "\\Situatio\\"},
      {61, "trip.flt", std::nullopt},     {61, "rain.wx", std::nullopt},      {61, "trip.brf", std::nullopt},
      {61, "map.bmp", std::nullopt},      {70, "trip.adv", "\\Adv\\Other\\"}, {70, "trip.FLT", "\\Adv\\Other\\"},
      {70, "rain.WX", "\\Adv\\Other\\"},  {70, "trip.brf", "\\Adv\\Other\\"}, {70, "map.bmp", "\\Adv\\Other\\"},
      {70, "engine.wav", "\\Adv\\Wav\\"}, {70, "start.stn", std::nullopt},    {80, "trip.adv", "\\Adv\\Other\\"},
      {80, "engine.Wav", "\\Adv\\Wav\\"}, {80, "readme.txt", std::nullopt},   {80, "bmp", "\\Adv\\Other\\"},
      {1, "trip.adv", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.version) + " " + c.name);
    EXPECT_EQ(install::adventureTarget(static_cast<std::int16_t>(c.version), c.name), c.folder);
  }
}

TEST_F(AdventureFixture, Fs98PlacesAdventureSoundsAndSituationsAndLeavesTheRest) {
  makeSim(61);
  std::filesystem::remove_all(host(sim() + "\\Situatio"));  // made when missing
  extracted("trip.adv", kFs98Adv);
  extracted("Engine.WAV", "wave");
  extracted("start.stn", "situation");
  extracted("trip.flt");
  extracted("rain.wx");
  extracted("trip.brf");
  extracted("map.bmp");
  state().installedCount = 4;

  install::InstallAdventures(ctx());

  EXPECT_EQ(readFile(sim() + "\\Adv\\trip.adv"), kFs98Adv);
  EXPECT_EQ(readFile(sim() + "\\Adv\\Wav\\Engine.WAV"), "wave");
  EXPECT_EQ(readFile(sim() + "\\Situatio\\start.stn"), "situation");
  // What the table gives no folder stays where it is; placement copies.
  EXPECT_EQ(fs->listFiles(sim() + "\\Adv"), std::vector<std::string>{"trip.adv"});
  EXPECT_TRUE(exists(tempZip() + "\\trip.adv"));
  EXPECT_TRUE(exists(tempZip() + "\\map.bmp"));
  EXPECT_TRUE(runs("aafconv98").empty());
  EXPECT_EQ(state().installedCount, 5);
}

TEST_F(AdventureFixture, Fs2000AdventureUnderFs98RefusesTheWholeArchiveInEitherOrder) {
  struct Case {
    const char* fs2000Name;
    const char* fs98Name;
  };
  // The directory search meets the FS2000 adventure first or last.
  for (const Case& c : {Case{"a_new.adv", "b_old.adv"}, Case{"b_new.adv", "a_old.adv"}}) {
    SCOPED_TRACE(c.fs2000Name);
    std::filesystem::remove_all(root + "/c");
    std::filesystem::remove_all(root + "/app/TempZip");
    makeSim(61);
    extracted(c.fs2000Name, kFs2000Adv);
    extracted(c.fs98Name, kFs98Adv);
    extracted("engine.wav");
    state().installedCount = 0;
    dialogs.expectMessage("The adventure is made for FS2000 and\ncan not be converted backwards.",
                          std::string("FS2000 adventure - ") + c.fs2000Name, Buttons::OK, Icon::Exclamation);

    install::InstallAdventures(ctx());

    EXPECT_EQ(state().installedCount, 0);
    EXPECT_FALSE(exists(sim() + "\\Adv\\" + c.fs98Name));
    EXPECT_FALSE(exists(sim() + "\\Adv\\Wav\\engine.wav"));
    EXPECT_TRUE(runs("aafconv98").empty());
  }
}

const char* const kConvertFs2000 =
    "The adventure is made for an earlier FS version. Please use\n"
    "Flight Shop Converter to convert the aircraft for FS2000.\n\n"
    "The ADV file is located: Z:\\app\\TempZip";

// One converter run per old adventure; the converter is found in any letter
// case, a leftover TempAdv does not stop it, and the windows keep painting.
TEST_F(AdventureFixture, TwoOldAdventuresUnderFs2000GiveTwoConverterRuns) {
  makeSim(70, false);
  testsupport::putConverter(host(sim()), "AAFCONV.EXE");
  writeFile(tempAdv() + "\\stale.adv", kOldAdv);
  writeFile(sim() + "\\aafconv.cfg", "[Options]\r\nLanguage=1\r\nCopySounds=1\r\n[Window]\r\nX=3\r\n");
  extracted("first.adv", kOldAdv);
  extracted("second.adv", kOldAdv);
  extracted("fs98.adv", kFs98Adv);
  extracted("engine.wav");
  for (int i = 0; i < 2; ++i)
    dialogs.expectMessage(kConvertFs2000, "Convert adventure", Buttons::OK, Icon::Exclamation);

  install::InstallAdventures(ctx());

  const auto converted = runs("aafconv");
  ASSERT_EQ(converted.size(), 2u);
  EXPECT_EQ(converted[0].adventures, std::vector<std::string>{"first.adv"});
  EXPECT_EQ(converted[1].adventures, std::vector<std::string>{"second.adv"});
  for (const auto& run : converted) {
    EXPECT_EQ(run.adventureInput, "Z:\\app\\TempAdv\\");
    EXPECT_EQ(run.copySounds, "0");
    EXPECT_EQ(run.copySituations, "0");
  }
  EXPECT_TRUE(runs("aafconv98").empty());

  // The converter put its results into Adv; placement only what needed none.
  EXPECT_TRUE(core::istartsWith(readFile(sim() + "\\Adv\\first.adv"), "FS7 adventure\r\n"));
  EXPECT_FALSE(exists(sim() + "\\Adv\\Other\\first.adv"));
  EXPECT_EQ(readFile(sim() + "\\Adv\\Other\\fs98.adv"), kFs98Adv);
  EXPECT_TRUE(exists(sim() + "\\Adv\\Wav\\engine.wav"));
  EXPECT_FALSE(exists(tempAdv()));
  EXPECT_EQ(state().installedCount, 1);
  EXPECT_GT(dialogs.keepPaintingCalls, 0);

  // The converter's own keys and sections keep their place and bytes.
  EXPECT_EQ(readFile(sim() + "\\aafconv.cfg"),
            "[Options]\r\nLanguage=1\r\nCopySounds=0\r\nAdventureInputPath=Z:\\app\\TempAdv\\\r\n"
            "CopySituations=0\r\n[Window]\r\nX=3\r\n");
}

TEST_F(AdventureFixture, ConverterKeysAreWrittenInTheirOrder) {
  makeSim(61);
  extracted("old.adv", kOldAdv);
  dialogs.expectMessage(
      "The adventure is made for an earlier FS version. Please use\n"
      "Flight Shop Converter to convert the aircraft for FS98.\n\n"
      "The ADV file is located: Z:\\app\\TempZip",
      "Convert adventure", Buttons::OK, Icon::Exclamation);

  install::InstallAdventures(ctx());

  EXPECT_EQ(readFile(sim() + "\\aafconv98.cfg"),
            "[Options]\r\nAdventureInputPath=Z:\\app\\TempAdv\\\r\nCopySounds=0\r\nCopySituations=0\r\n");
  ASSERT_EQ(runs("aafconv98").size(), 1u);
  EXPECT_TRUE(core::istartsWith(readFile(sim() + "\\Adv\\old.adv"), "FS6x adventure\r\n"));
  EXPECT_EQ(state().installedCount, 1);
}

TEST_F(AdventureFixture, OldAdventureUnderFs2002IsDeletedAndTheRestIsPlaced) {
  makeSim(80);
  extracted("ancient.adv", kOldAdv);
  extracted("modern.adv", kFs2000Adv);
  extracted("engine.wav");
  state().installedCount = 2;
  dialogs.expectMessage("Hangarpak v3.2 does not support old adventure installation for FS2002!",
                        "Could not install adventure", Buttons::OK, Icon::Exclamation);

  install::InstallAdventures(ctx());

  EXPECT_FALSE(exists(tempZip() + "\\ancient.adv"));
  EXPECT_FALSE(exists(sim() + "\\Adv\\Other\\ancient.adv"));
  EXPECT_EQ(readFile(sim() + "\\Adv\\Other\\modern.adv"), kFs2000Adv);
  EXPECT_TRUE(runs("aafconv").empty());
  EXPECT_EQ(state().installedCount, 3);
}

TEST_F(AdventureFixture, MissingConverterEndsWithoutPlacingAnything) {
  struct Case {
    int version;
    const char* presentConverter;  // the other build only, or none
    const char* target;
  };
  for (const Case& c : {Case{70, "aafconv98.exe", "FS2000"}, Case{61, "aafconv.exe", "FS98"}}) {
    SCOPED_TRACE(std::to_string(c.version) + " " + (c.presentConverter ? c.presentConverter : "none"));
    std::filesystem::remove_all(root + "/c");
    std::filesystem::remove_all(root + "/app/TempZip");
    makeSim(c.version, false);
    if (c.presentConverter) testsupport::putConverter(host(sim()), c.presentConverter);
    extracted("old.adv", kOldAdv);
    extracted("fs98.adv", kFs98Adv);
    extracted("engine.wav");
    state().installedCount = 0;
    dialogs.expectMessage(std::string("The adventure is made for an earlier FS version. Please use\n") +
                              "Flight Shop Converter to convert the aircraft for " + c.target + ".\n\n" +
                              "The ADV file is located: Z:\\app\\TempZip",
                          "Convert adventure", Buttons::OK, Icon::Exclamation);
    dialogs.expectMessage("Could not find Flight Shop Converter!", "Installation aborted", Buttons::OK, Icon::Critical);

    install::InstallAdventures(ctx());

    EXPECT_EQ(state().installedCount, 0);
    EXPECT_FALSE(exists(tempAdv()));
    EXPECT_FALSE(exists(sim() + "\\Adv\\Wav\\engine.wav"));
    EXPECT_FALSE(exists(sim() + "\\aafconv.cfg"));
  }
}

}  // namespace
