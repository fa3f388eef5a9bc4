#include "core/temp_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_fixture.h"

namespace {

namespace fsys = std::filesystem;

using TempFolders = testsupport::SimFixture;
using testsupport::hostNames;

// Every file and folder goes, whatever its name or attributes, and then the
// folder; a linked folder goes as the link, what it leads to stays.
TEST_F(TempFolders, EverythingGoesByItsListedNameAndThenTheFolder) {
  writeFile("Z:\\app\\print.txt", "report");
  writeFile("Z:\\elsewhere\\keep.txt", "kept");
  core::ClearTempAdv(ctx());  // missing: nothing to do
  for (const char* name : {"plane.air", ".hidden", "locked.cfg", "*b", "*vil_q.bmp", "Nested\\a?c\\inner.cfg"})
    writeFile(std::string("Z:\\app\\tempzip\\") + name, "x");
  fsys::permissions(root + "/app/tempzip/locked.cfg", fsys::perms::owner_read);
  fsys::create_directory_symlink(root + "/elsewhere", root + "/app/tempzip/link");
  writeFile("Z:\\app\\TempAdv\\a.adv", "x");

  EXPECT_EQ(core::EmptyTempZip(ctx()), std::vector<std::string>{});
  EXPECT_EQ(hostNames(root + "/app"), (std::vector<std::string>{"TempAdv", "print.txt"}));
  core::ClearTempAdv(ctx());
  EXPECT_EQ(hostNames(root + "/app"), std::vector<std::string>{"print.txt"});
  EXPECT_EQ(readFile("Z:\\elsewhere\\keep.txt"), "kept");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(GetBaseName, LastComponentAndZipNamesLowerCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Downloads\\Cessna.ZIP", "cessna"},
      {"C:\\Addons\\Some Folder\\", "Some Folder"},
      {"C:\\Downloads\\My Plane.Zip", "my plane"},
      {"NoBackslash.TXT", "NoBackslash.TXT"},
      {"C:\\a.zip\\Inner", "Inner"},
      {"C:\\Downloads\\.zip", ""},
      {"C:\\", "C:"},
      {"", ""},
  };
  for (const auto& [path, base] : cases) {
    SCOPED_TRACE(path);
    std::string variable = path;
    EXPECT_EQ(core::GetBaseName(variable), base);
    // The caller's variable is replaced as well.
    EXPECT_EQ(variable, base);
  }
}

TEST_F(TempFolders, OnlyExistingPlainFilesCount) {
  writeFile("C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg", "");
  writeFile("C:\\FS2002\\.hidden", "");
  writeFile("C:\\FS2002\\locked.exe", "");
  fsys::permissions(host("C:\\FS2002\\locked.exe"), fsys::perms::owner_read);
  const std::pair<const char*, bool> cases[] = {
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg", true},
      {"C:\\FS2002\\.hidden", true},
      {"C:\\FS2002\\locked.exe", true},
      {"C:\\FS2002\\Aircraft", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg\\", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\*.cfg", false},
      {"C:\\FS2002\\missing.cfg", false},
      {"Q:\\FS2002\\aircraft.cfg", false},
      {"", false},
  };
  for (const auto& [path, exists] : cases) EXPECT_EQ(core::FileExists(ctx(), path), exists) << path;
}

}  // namespace
