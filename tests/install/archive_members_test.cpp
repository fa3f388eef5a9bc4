#include "install/archive_members.h"

#include <gtest/gtest.h>

#include "install/dispatch.h"
#include "install/placement.h"
#include "install/variant_folders.h"

namespace {

// The number goes before the extension, which the placing rules look at.
TEST(NumberedName, KeepsTheExtensionLast) {
  const std::tuple<std::string, int, std::string> cases[] = {
      {"readme.txt", 2, "readme (2).txt"}, {"README", 3, "README (3)"},         {".hidden", 2, ".hidden (2)"},
      {"a.tar.gz", 2, "a.tar (2).gz"},     {"notes.txt", 10, "notes (10).txt"},
  };
  for (const auto& [name, number, numbered] : cases) EXPECT_EQ(install::NumberedName(name, number), numbered) << name;
}

TEST(ArchiveMembers, NumbersANameTakenInAnyCaseAndFindsMembersInAnyCase) {
  install::ArchiveMembers members;
  for (const char* name : {"readme.txt", "README.TXT", "Readme.txt"}) {
    const std::string stored = members.storedNameFor(name);
    members.add({"f", name, stored});
  }
  std::vector<std::string> stored;
  for (const auto& m : members.all()) stored.push_back(m.stored);
  EXPECT_EQ(stored, (std::vector<std::string>{"readme.txt", "README (2).TXT", "Readme (3).txt"}));
  ASSERT_NE(members.byStored("readme (2).txt"), nullptr);
  EXPECT_EQ(members.byStored("readme (2).txt")->path(), "f\\README.TXT");
  members.remove("README (2).TXT");
  EXPECT_EQ(members.byStored("readme (2).txt"), nullptr);
  EXPECT_EQ(members.byStored("readme (3).txt")->name, "Readme.txt");
  // A name given out once stays given out.
  EXPECT_EQ(members.storedNameFor("readme.txt"), "readme (4).txt");
  // A member written under the removed name again is a member of its own,
  // after the others; the others keep theirs.
  members.add({"g", "readme.txt", "README (2).TXT"});
  ASSERT_NE(members.byStored("readme (2).txt"), nullptr);
  EXPECT_EQ(members.byStored("readme (2).txt")->path(), "g\\readme.txt");
  EXPECT_EQ(members.position(*members.byStored("readme (2).txt")), 2u);
  EXPECT_EQ(members.byStored("README.TXT")->path(), "f\\readme.txt");
  EXPECT_EQ(members.byStored("readme (3).txt")->path(), "f\\Readme.txt");
}

TEST(VariantFolderOf, TakesTheDeepestVariantFolderWithWhatLiesBelowIt) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"", std::nullopt},
      {"texture", std::nullopt},
      {"texture.", std::nullopt},
      {"textures", std::nullopt},
      {"texture.red", "texture.red"},
      {"Texture.Red\\decals", "Texture.Red\\decals"},
      {"PANEL.IFR", "PANEL.IFR"},
      {"sound.loud", "sound.loud"},
      {"model.float\\texture.red", "texture.red"},
      {"extras\\model.float", "model.float"},
      {"texture_red", std::nullopt},
  };
  for (const auto& [folder, variant] : cases) EXPECT_EQ(install::VariantFolderOf(folder), variant) << folder;
}

// The rows' texts are lower case; names match them in any case, a whole
// name only whole, and the first row that matches wins.
TEST(FirstMatch, TakesTheFirstRowTheNameMatchesInAnyCase) {
  using Row = install::PlacementRule::Test;
  const std::vector<install::PlacementRule> rules = {{Row::WholeName, "aircraft.cfg", "a\\"},
                                                     {Row::EndsWith, "bmp", "t\\"},
                                                     {Row::EndsWith, "notes.txt", "n\\"},
                                                     {Row::Anything, "", "d\\"}};
  const std::pair<std::string, int> cases[] = {
      {"aircraft.cfg", 0},     {"AIRCRAFT.CFG", 0},  {"Aircraft.Cfg", 0}, {"my aircraft.cfg", 3},
      {"aircraft.cfg.bak", 3}, {"skin.BMP", 1},      {"BMP", 1},          {"skin.bmp ", 3},
      {"MY NOTES.TXT", 2},     {"notes.txt.bmp", 1}, {"otes.txt", 3},     {"", 3},
  };
  for (const auto& [name, row] : cases) EXPECT_EQ(install::FirstMatch(rules, name), &rules[row]) << name;
  const std::vector<install::PlacementRule> none = {rules[0], rules[1]};
  EXPECT_EQ(install::FirstMatch(none, "readme.txt"), nullptr);
}

TEST(AircraftFolderNames, AreTheFoldersOwnNamesNumberedWhereTheyMeet) {
  EXPECT_EQ(install::AircraftFolderNames({"Pack\\Cub", "Pack\\Cub Floats", "Old\\cub", "Cub (2)"}),
            (std::vector<std::string>{"Cub", "Cub Floats", "cub (2)", "Cub (2) (2)"}));
}

}  // namespace
