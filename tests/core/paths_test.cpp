#include "core/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/environment.h"
#include "core/errors.h"
#include "core/locations.h"
#include "core/settings.h"
#include "support/error_number.h"
#include "support/fake_prefix.h"
#include "support/temp_dir.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::errorNumberOf;
using testsupport::TempDir;
using testsupport::writeHostFile;

// The path with every link resolved, as the drive table takes a prefix's.
std::string realHostPath(const std::string& path) {
  return fsys::canonical(path).string();
}

// A simulator tree whose names differ from the program's spelling only in
// case, plus two entries that differ from each other only in case.
class CaseTree : public ::testing::Test {
 protected:
  CaseTree() : c(tmp.path() + "/c") {
    writeHostFile(c + "/FS2002/fs2002.exe", "MZ");
    writeHostFile(c + "/FS2002/aircraft/Cessna/AIRCRAFT.CFG", "[fltsim.0]\r\n");
    fsys::create_directories(c + "/FS2002/Sound");
    fsys::create_directories(c + "/FS2002/aircraft/Ölflug Ærø Œuvre Żuraw");
    writeHostFile(c + "/Twins/DATA", "upper");
    writeHostFile(c + "/Twins/data", "lower");
    drives.set('c', c, "test");
  }

  TempDir tmp;
  std::string c;
  core::DriveTable drives;
};

// A path no drive holds is refused with its error number.
TEST_F(CaseTree, ResolvesEachExistingComponentWithoutRegardToCase) {
  struct Case {
    const char* name;
    std::string windows;
    std::string host;
    int number = 0;  // of the error, for a path refused
  };
  const Case cases[] = {
      {"exact spelling", "C:\\FS2002\\aircraft\\Cessna\\AIRCRAFT.CFG", c + "/FS2002/aircraft/Cessna/AIRCRAFT.CFG"},
      {"program's capitals", "C:\\FS2002\\Aircraft\\cessna\\aircraft.cfg", c + "/FS2002/aircraft/Cessna/AIRCRAFT.CFG"},
      {"exact match wins over a case twin", "C:\\Twins\\data", c + "/Twins/data"},
      {"no exact match: first twin in byte order", "C:\\twins\\Data", c + "/Twins/DATA"},
      {"missing components keep their spelling", "C:\\fs2002\\AIRCRAFT\\NewPlane\\Model\\x.MDL",
       c + "/FS2002/aircraft/NewPlane/Model/x.MDL"},
      {"letters beyond ASCII fold too", "C:\\FS2002\\AIRCRAFT\\ölflug æRØ œUVRE żURAW\\x.cfg",
       c + "/FS2002/aircraft/Ölflug Ærø Œuvre Żuraw/x.cfg"},
      {"but stay different letters", "C:\\FS2002\\aircraft\\Olflug Ærø Œuvre Żuraw",
       c + "/FS2002/aircraft/Olflug Ærø Œuvre Żuraw"},
      {"forward slashes, doubled and trailing separators", "C:/fs2002//SOUND\\", c + "/FS2002/Sound"},
      {"dot and dot-dot folded", "C:\\FS2002\\.\\Aircraft\\..\\sound", c + "/FS2002/Sound"},
      {"dot-dot never leaves the drive", "C:\\..\\..\\FS2002", c + "/FS2002"},
      {"drive root", "C:\\", c},
      {"drive without a separator", "C:fs2002", c + "/FS2002"},
      {"drive not in the table", "Q:\\FS2002", "", core::err::DeviceUnavailable},
      {"no drive at all", "FS2002\\aircraft", "", core::err::BadFileName},
      {"empty", "", "", core::err::BadFileName},
      {"a name longer than the host allows", "C:\\" + std::string(300, 'a'), "", core::err::BadFileName},
      {"a NUL inside a name", std::string("C:\\a\0b", 6), "", core::err::BadFileName},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    if (k.number)
      EXPECT_EQ(errorNumberOf([&] { drives.toHost(k.windows); }), k.number);
    else
      EXPECT_EQ(drives.toHost(k.windows), k.host);
  }
}

// The lexical form every Windows path is compared in; a path already in it
// is known as such, and only a path with a drive can be.
TEST(NormalWindowsPath, FoldsSeparatorsDotsAndTheDriveLetter) {
  const struct {
    const char* path;
    const char* normal;
    bool isNormal;
  } cases[] = {
      {"C:\\", "C:\\", true},
      {"C:\\FS2002\\Aircraft\\panel.cfg", "C:\\FS2002\\Aircraft\\panel.cfg", true},
      {"C:\\.hidden\\a..b\\...", "C:\\.hidden\\a..b\\...", true},
      {"c:\\FS2002", "C:\\FS2002", false},
      {"C:", "C:\\", false},
      {"C:FS2002", "C:\\FS2002", false},
      {"C:\\FS2002\\", "C:\\FS2002", false},
      {"C:\\FS2002\\\\Aircraft", "C:\\FS2002\\Aircraft", false},
      {"C:\\\\FS2002", "C:\\FS2002", false},
      {"C:\\FS2002/Aircraft", "C:\\FS2002\\Aircraft", false},
      {"C:\\FS2002\\.\\Aircraft", "C:\\FS2002\\Aircraft", false},
      {"C:\\FS2002\\Aircraft\\..", "C:\\FS2002", false},
      {"C:\\FS2002\\.", "C:\\FS2002", false},
      {"C:\\..\\FS2002", "C:\\FS2002", false},
      {"Aircraft\\panel.cfg", "Aircraft\\panel.cfg", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(core::normalizeWindowsPath(c.path), c.normal) << c.path;
    EXPECT_EQ(core::isNormalWindowsPath(c.path), c.isNormal) << c.path;
  }
}

TEST(DriveTableToWindows, TakesTheLongestRootThatHoldsThePath) {
  core::DriveTable drives;
  drives.set('c', "/r/c", "test");
  drives.set('D', "/r/c/games/", "test");
  drives.set('z', "/", "test");
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"/r/c/x/y.zip", "C:\\x\\y.zip"},        {"/r/c/games/FS2002", "D:\\FS2002"}, {"/r/c/games", "D:\\"},
      {"/r/c//games/./FS2002/", "D:\\FS2002"}, {"/r/c/games/../x", "C:\\x"},        {"/etc/passwd", "Z:\\etc\\passwd"},
      {"relative/file.zip", std::nullopt},
  };
  for (const auto& [host, windows] : cases) EXPECT_EQ(drives.toWindows(host), windows) << host;
  core::DriveTable withoutRoot;
  withoutRoot.set('c', "/r/c", "test");
  EXPECT_EQ(withoutRoot.toWindows("/etc/passwd"), std::nullopt);
}

class DriveSources : public ::testing::Test {
 protected:
  DriveSources() : root(tmp.path()) {
    env.set("HOME", root + "/home");
    fsys::create_directories(root + "/home");
  }

  // A Wine prefix whose dosdevices folder holds the links Wine makes.
  void makeWinePrefix(const std::string& prefix) {
    testsupport::makeFakePrefix(prefix);
    const std::string dd = prefix + "/dosdevices";
    fsys::create_directories(prefix + "/drive_c/Program Files");
    fsys::create_symlink(root + "/unmounted/cdrom", dd + "/d:");
    fsys::create_symlink("/dev/sr0", dd + "/d::");  // the raw device: no drive
    fsys::create_symlink("/dev/ttyS0", dd + "/com1");
  }

  std::map<char, std::pair<std::string, std::string>> table(core::SettingsStore* settings = nullptr) {
    std::map<char, std::pair<std::string, std::string>> out;
    const core::DriveTable drives = core::DriveTable::fromEnvironment(env, settings);
    for (const auto& d : drives.drives()) out[d.letter] = {d.hostRoot, d.source};
    return out;
  }

  TempDir tmp;
  std::string root;
  core::Environment env;
};

TEST_F(DriveSources, WinePrefixDosdevicesMapTheirDrives) {
  makeWinePrefix(root + "/prefix");
  env.set("WINEPREFIX", root + "/prefix");
  auto drives = table();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives['c'], std::make_pair(realHostPath(root + "/prefix/drive_c"), std::string("wine prefix")));
  EXPECT_EQ(drives['z'], std::make_pair(std::string("/"), std::string("wine prefix")));
  // A link to a disk that is not mounted still names its drive.
  EXPECT_EQ(drives['d'].first, root + "/unmounted/cdrom");

  core::DriveTable t = core::DriveTable::fromEnvironment(env, nullptr);
  EXPECT_EQ(t.toHost("C:\\program files"), realHostPath(root + "/prefix/drive_c") + "/Program Files");
  EXPECT_TRUE(t.available('c'));
  EXPECT_FALSE(t.available('d'));
}

// Without any source C: is the home folder and Z: the root; else the first
// source found wins.
TEST_F(DriveSources, FirstSourceFoundWins) {
  env.set("HANGARPAK_DRIVES", "nothing usable");
  auto drives = table();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives['c'], std::make_pair(root + "/home", std::string("default")));
  EXPECT_EQ(drives['z'], std::make_pair(std::string("/"), std::string("default")));

  makeWinePrefix(root + "/home/.wine");
  core::IniSettingsStore settings(root + "/config");
  settings.save("Hangarpak", "Drives", "c", root + "/from-settings");
  settings.save("Hangarpak", "Drives", "e", "relative/ignored");

  env.set("HANGARPAK_DRIVES", "c=" + root + "/srv/c; d = /mnt/d ;x=relative;bogus");
  drives = table(&settings);
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives['c'], std::make_pair(root + "/srv/c", std::string("HANGARPAK_DRIVES")));
  EXPECT_EQ(drives['d'].first, "/mnt/d");

  env.unset("HANGARPAK_DRIVES");
  drives = table(&settings);
  ASSERT_EQ(drives.size(), 1u);
  EXPECT_EQ(drives['c'], std::make_pair(root + "/from-settings", std::string("settings")));

  // ~/.wine without WINEPREFIX.
  EXPECT_EQ(table(nullptr)['c'],
            std::make_pair(realHostPath(root + "/home/.wine/drive_c"), std::string("wine prefix")));
}

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
