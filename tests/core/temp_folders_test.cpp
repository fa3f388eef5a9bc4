#include "core/temp_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/sim_fixture.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::hostExists;

class TempFolders : public testsupport::SimFixture {
 protected:
  std::vector<std::string> namesIn(const std::string& hostFolder) {
    std::vector<std::string> names;
    for (const auto& e : fsys::directory_iterator(hostFolder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(TempFolders, ClearingAMissingFolderDoesNothingAndReportsNothing) {
  writeFile("Z:\\app\\print.txt", "report");
  core::ClearTempZip(ctx());
  core::ClearTempAdv(ctx());
  EXPECT_EQ(namesIn(root + "/app"), std::vector<std::string>{"print.txt"});
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(TempFolders, ReadOnlyAndHiddenFilesAreDeletedAndTheFolderRemoved) {
  for (const char* name : {"plane.air", "Readme.TXT", ".hidden", "locked.cfg", ".locked-hidden", "noext"})
    writeFile(std::string("Z:\\app\\TempZip\\") + name, "x");
  for (const char* name : {"locked.cfg", ".locked-hidden"})
    fsys::permissions(root + "/app/TempZip/" + name, fsys::perms::owner_read);
  writeFile("Z:\\app\\TempAdv\\keep.adv", "adventure");

  core::ClearTempZip(ctx());
  EXPECT_FALSE(hostExists(root + "/app/TempZip"));
  EXPECT_EQ(readFile("Z:\\app\\TempAdv\\keep.adv"), "adventure");

  core::ClearTempAdv(ctx());
  EXPECT_FALSE(hostExists(root + "/app/TempAdv"));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(TempFolders, ASubFolderKeepsTheFolder) {
  writeFile("Z:\\app\\TempZip\\a.zip", "x");
  writeFile("Z:\\app\\TempZip\\Nested\\inner.cfg", "kept");
  core::ClearTempZip(ctx());
  EXPECT_EQ(namesIn(root + "/app/TempZip"), std::vector<std::string>{"Nested"});
  EXPECT_EQ(readFile("Z:\\app\\TempZip\\Nested\\inner.cfg"), "kept");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(TempFolders, TheFolderIsFoundInAnyCase) {
  writeFile("Z:\\app\\tempzip\\x.air", "x");
  core::ClearTempZip(ctx());
  EXPECT_FALSE(hostExists(root + "/app/tempzip"));
}

TEST_F(TempFolders, FilesThatCannotBeDeletedStayQuietly) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may delete in a folder without write permission";
  writeFile("Z:\\app\\TempZip\\a.air", "x");
  fsys::permissions(root + "/app/TempZip", fsys::perms(0555));
  core::ClearTempZip(ctx());
  fsys::permissions(root + "/app/TempZip", fsys::perms(0755));
  EXPECT_EQ(namesIn(root + "/app/TempZip"), std::vector<std::string>{"a.air"});
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(GetBaseName, LastComponentAndZipNamesLowerCased) {
  struct Case {
    const char* path;
    const char* base;
  };
  const Case cases[] = {
      {"C:\\Downloads\\Cessna.ZIP", "cessna"},
      {"C:\\Addons\\Some Folder\\", "Some Folder"},
      {"C:\\FS\\fs2000.exe", "fs2000.exe"},
      {"C:\\Downloads\\My Plane.Zip", "my plane"},
      {"NoBackslash.TXT", "NoBackslash.TXT"},
      {"Archive.ZIP", "archive"},
      {"C:\\a.zip\\Inner", "Inner"},
      {"C:\\Downloads\\.zip", ""},
      {"C:\\Downloads\\zip", "zip"},
      {"C:\\", "C:"},
      {"", ""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.path);
    std::string variable = k.path;
    EXPECT_EQ(core::GetBaseName(variable), k.base);
    // The caller's variable is replaced as well.
    EXPECT_EQ(variable, k.base);
  }
}

class FileExistsTest : public testsupport::SimFixture {};

TEST_F(FileExistsTest, OnlyExistingPlainFilesCount) {
  writeFile("C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg", "");
  writeFile("C:\\FS2002\\.hidden", "");
  writeFile("C:\\FS2002\\locked.exe", "");
  fsys::permissions(host("C:\\FS2002\\locked.exe"), fsys::perms::owner_read);
  struct Case {
    const char* path;
    bool exists;
  };
  const Case cases[] = {
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg", true},
      {"c:\\fs2002\\AIRCRAFT\\cessna\\AIRCRAFT.CFG", true},
      {"C:\\FS2002\\.hidden", true},
      {"C:\\FS2002\\locked.exe", true},
      {"C:\\FS2002\\Aircraft", false},
      {"C:\\FS2002\\Aircraft\\", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg\\\\", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg\\", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\*.cfg", false},
      {"C:\\FS2002\\Aircraft\\Cessna\\aircraft.cf?", false},
      {"C:\\FS2002\\missing.cfg", false},
      {"C:\\NoSuch\\aircraft.cfg", false},
      {"Q:\\FS2002\\aircraft.cfg", false},
      {"aircraft.cfg", false},
      {"", false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.path);
    EXPECT_EQ(core::FileExists(ctx(), k.path), k.exists);
  }
}

}  // namespace
