#include "core/locations.h"

#include <gtest/gtest.h>

#include "core/environment.h"

namespace {

// The help page and icons are found beside the program wherever it was
// installed, and in the build tree, which has the same shape.
TEST(Locations, ShareFolderIsBesideTheProgramsFolder) {
  const struct {
    std::string executable, programFolder, shareFolder;
  } cases[] = {
      {"/usr/bin/hangarpak", "/usr/bin", "/usr/share"},
      {"/opt/Hangar Pak/bin/hangarpak", "/opt/Hangar Pak/bin", "/opt/Hangar Pak/share"},
      {"/home/me/src/hangarpak/build/src/hangarpak", "/home/me/src/hangarpak/build/src",
       "/home/me/src/hangarpak/build/share"},
      {"/bin/hangarpak", "/bin", "/share"},
      {"/hangarpak", "/", "/share"},
  };
  core::Environment env;
  env.set("HOME", "/home/me");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.executable);
    const auto loc = core::Locations::fromEnvironment(env, c.executable);
    EXPECT_EQ(loc.programFolder, c.programFolder);
    EXPECT_EQ(loc.shareFolder, c.shareFolder);
  }
}

}  // namespace
