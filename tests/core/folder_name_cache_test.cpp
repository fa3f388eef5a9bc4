#include "core/folder_name_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/paths.h"
#include "support/temp_dir.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::writeHostFile;

class FolderNameCacheTest : public ::testing::Test {
 protected:
  FolderNameCacheTest() : c(tmp.path() + "/c") {
    fsys::create_directories(c);
    drives.set('c', c, "test");
    drives.set('d', c + "/DriveD", "test");
  }

  testsupport::TempDir tmp;
  std::string c;
  core::DriveTable drives;
};

// Whatever happens on disk after a folder was cached, by this program or
// behind its back, a path resolves as if the disk were asked afresh: a file
// of another case is found, a folder of another case is reused, and a path
// that now leads elsewhere is followed there.
TEST_F(FolderNameCacheTest, ResolvesAsTheDiskDoesAfterChangesBehindItsBack) {
  struct Case {
    const char* name;
    std::vector<std::string> layout;  // laid out first, in C:: "name/" a folder, "name -> target" a link
    const char* primed;               // resolved once, so that its folders are cached
    std::function<void(const std::string& c)> change;
    const char* path;
    std::string host;  // relative to C:
  };
  const Case cases[] = {
      {"a file made in another case is found",
       {"FS2002/Aircraft/"},
       "C:\\FS2002\\aircraft\\new.cfg",
       [](const std::string& c) { writeHostFile(c + "/FS2002/Aircraft/NEW.CFG", ""); },
       "C:\\fs2002\\aircraft\\new.cfg",
       "FS2002/Aircraft/NEW.CFG"},
      {"a folder made in another case is reused, not doubled",
       {"FS2002/Aircraft/"},
       "C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg",
       [](const std::string& c) { fsys::create_directory(c + "/FS2002/Aircraft/CESSNA"); },
       "C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg",
       "FS2002/Aircraft/CESSNA/aircraft.cfg"},
      {"a removed file leaves the path's own spelling",
       {"FS2002/Aircraft/Old.cfg"},
       "C:\\FS2002\\aircraft\\old.cfg",
       [](const std::string& c) { fsys::remove(c + "/FS2002/Aircraft/Old.cfg"); },
       "C:\\FS2002\\aircraft\\old.cfg",
       "FS2002/Aircraft/old.cfg"},
      {"a folder renamed to another case",
       {"FS2002/Aircraft/Cessna/aircraft.cfg"},
       "C:\\FS2002\\Aircraft\\cessna\\aircraft.cfg",
       [](const std::string& c) { fsys::rename(c + "/FS2002/Aircraft/Cessna", c + "/FS2002/Aircraft/CESSNA"); },
       "C:\\FS2002\\Aircraft\\cessna\\aircraft.cfg",
       "FS2002/Aircraft/CESSNA/aircraft.cfg"},
      {"a folder on the way moved off and another made in its place",
       {"FS2002/Aircraft/Cessna/Panel/panel.cfg"},
       "C:\\fs2002\\aircraft\\cessna\\panel\\panel.cfg",
       [](const std::string& c) {
         fsys::rename(c + "/FS2002/Aircraft", c + "/Old");
         writeHostFile(c + "/FS2002/AIRCRAFT/cessna/PANEL/Panel.CFG", "");
       },
       "C:\\FS2002\\Aircraft\\Cessna\\Panel\\panel.cfg",
       "FS2002/AIRCRAFT/cessna/PANEL/Panel.CFG"},
      {"the drive's folder itself replaced",
       {"FS2002/fs2002.exe"},
       "C:\\fs2002\\FS2002.EXE",
       [](const std::string& c) {
         fsys::rename(c, c + ".old");
         writeHostFile(c + "/fs2002/FS2002.exe", "");
       },
       "C:\\FS2002\\fs2002.exe",
       "fs2002/FS2002.exe"},
      {"the drive's folder a link pointed elsewhere",
       {"Real1/FS2002/fs2002.exe", "Real2/fs2002/FS2002.EXE", "DriveD -> Real1"},
       "D:\\fs2002\\fs2002.exe",
       [](const std::string& c) {
         fsys::remove(c + "/DriveD");
         fsys::create_directory_symlink("Real2", c + "/DriveD");
       },
       "D:\\FS2002\\fs2002.exe",
       "DriveD/fs2002/FS2002.EXE"},
      {"an exact twin made later wins",
       {"Twins/DATA"},
       "C:\\Twins\\data",
       [](const std::string& c) { writeHostFile(c + "/Twins/data", ""); },
       "C:\\Twins\\data",
       "Twins/data"},
      {"the first twin removed: the other one",
       {"Twins/DATA", "Twins/Data"},
       "C:\\twins\\data",
       [](const std::string& c) { fsys::remove(c + "/Twins/DATA"); },
       "C:\\twins\\data",
       "Twins/Data"},
      {"a folder replaced by a file of its name",
       {"A/B/c.txt"},
       "C:\\a\\b\\C.TXT",
       [](const std::string& c) {
         fsys::remove_all(c + "/A/B");
         writeHostFile(c + "/A/b", "");
       },
       "C:\\a\\B\\C.TXT",
       "A/b/C.TXT"},
      {"a linked folder pointed elsewhere",
       {"Real1/X.cfg", "Real2/x.Cfg", "Link -> Real1"},
       "C:\\link\\x.cfg",
       [](const std::string& c) {
         fsys::remove(c + "/Link");
         fsys::create_directory_symlink("Real2", c + "/Link");
       },
       "C:\\link\\x.cfg",
       "Link/x.Cfg"},
      {"a folder moved in from outside the drive",
       {"FS2002/Aircraft/"},
       "C:\\FS2002\\Aircraft\\Jet\\aircraft.cfg",
       [](const std::string& c) {
         writeHostFile(c + "/../outside/JET/Aircraft.CFG", "");
         fsys::rename(c + "/../outside/JET", c + "/FS2002/Aircraft/JET");
       },
       "C:\\FS2002\\Aircraft\\Jet\\aircraft.cfg",
       "FS2002/Aircraft/JET/Aircraft.CFG"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    fsys::remove_all(c);
    fsys::remove_all(c + ".old");
    fsys::remove_all(tmp.path() + "/outside");
    fsys::create_directories(c);
    for (const std::string& entry : k.layout) {
      if (const auto arrow = entry.find(" -> "); arrow != std::string::npos)
        fsys::create_directory_symlink(entry.substr(arrow + 4), c + "/" + entry.substr(0, arrow));
      else if (entry.ends_with('/'))
        fsys::create_directories(c + "/" + entry);
      else
        writeHostFile(c + "/" + entry, "");
    }

    core::FolderNameCache cache;
    drives.toHost(k.primed, cache);
    k.change(c);
    EXPECT_EQ(drives.toHost(k.path, cache), c + "/" + k.host);
    EXPECT_EQ(drives.toHost(k.path), c + "/" + k.host) << "the disk itself says otherwise";
  }
}

// A new file in a folder costs no listing of it: an installation's thousand
// new names list each folder on their way once.
TEST_F(FolderNameCacheTest, NewNamesListTheirFolderOnce) {
  fsys::create_directories(c + "/FS2002/Aircraft/Jumbo/texture");
  core::FolderNameCache cache;
  for (int i = 0; i < 1000; ++i) {
    const std::string host =
        drives.toHost("C:\\fs2002\\aircraft\\jumbo\\TEXTURE\\Tex" + std::to_string(i) + ".bmp", cache);
    ASSERT_EQ(host, c + "/FS2002/Aircraft/Jumbo/texture/Tex" + std::to_string(i) + ".bmp");
    writeHostFile(host, "");
  }
  EXPECT_EQ(cache.listings(), 5u);  // C:, FS2002, Aircraft, Jumbo, texture
  EXPECT_EQ(drives.toHost("C:\\FS2002\\Aircraft\\Jumbo\\texture\\TEX999.BMP", cache),
            c + "/FS2002/Aircraft/Jumbo/texture/Tex999.bmp");
}

// Past its bound the cache starts afresh, and past the kernel's queue of
// changes it lists again what it holds: neither costs a right answer.
TEST_F(FolderNameCacheTest, StaysRightPastItsBoundAndPastTheKernelsQueue) {
  writeHostFile(c + "/One/Two/Three/Four.cfg", "");
  core::FolderNameCache small(2);
  EXPECT_EQ(drives.toHost("C:\\one\\two\\three\\four.CFG", small), c + "/One/Two/Three/Four.cfg");
  EXPECT_LE(small.foldersHeld(), 2u);

  long queued = 0;
  std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> queued;
  if (queued <= 0 || queued > 100000) GTEST_SKIP() << "the kernel's queue of changes is " << queued;
  core::FolderNameCache cache;
  EXPECT_EQ(drives.toHost("C:\\one\\x.cfg", cache), c + "/One/x.cfg");
  // The name that matters comes after the queue is full: its change is lost.
  for (long i = 0; i <= queued; ++i) ::close(::creat((c + "/One/" + std::to_string(i)).c_str(), 0644));
  writeHostFile(c + "/One/X.CFG", "");
  EXPECT_EQ(drives.toHost("C:\\one\\x.cfg", cache), c + "/One/X.CFG");
}

}  // namespace
