#include "core/folder_name_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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

// Lays out entries under a folder, "; " between them: "name/" a folder,
// "name -> target" a link, "-name" removed, "name => other" renamed, else
// an empty file.
void lay(const std::string& folder, const std::string& entries) {
  for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 2) {
    end = entries.find("; ", at);
    const std::string entry = entries.substr(at, end - at);
    if (const auto arrow = entry.find(" -> "); arrow != std::string::npos)
      fsys::create_directory_symlink(entry.substr(arrow + 4), folder + "/" + entry.substr(0, arrow));
    else if (const auto move = entry.find(" => "); move != std::string::npos)
      fsys::rename(folder + "/" + entry.substr(0, move), folder + "/" + entry.substr(move + 4));
    else if (entry.starts_with('-'))
      fsys::remove_all(folder + "/" + entry.substr(1));
    else if (entry.ends_with('/'))
      fsys::create_directories(folder + "/" + entry);
    else
      writeHostFile(folder + "/" + entry, "");
  }
}

// Whatever happens on disk after a folder was cached, by this program or
// behind its back, a path resolves as if the disk were asked afresh: a file
// of another case is found, a folder of another case is reused, and a path
// that now leads elsewhere is followed there.
TEST_F(FolderNameCacheTest, ResolvesAsTheDiskDoesAfterChangesBehindItsBack) {
  const struct {
    const char* name;
    const char* layout;  // laid out first, in C:
    const char* primed;  // resolved once, so that its folders are cached
    const char* change;  // then laid out behind the cache's back
    const char* path;    // resolved then ("": the primed path again)
    std::string host;    // relative to C:
  } cases[] = {
      {"a file made in another case is found", "FS2002/Aircraft/", "C:\\FS2002\\aircraft\\new.cfg",
       "FS2002/Aircraft/NEW.CFG", "C:\\fs2002\\aircraft\\new.cfg", "FS2002/Aircraft/NEW.CFG"},
      {"a folder made in another case is reused, not doubled", "FS2002/Aircraft/",
       "C:\\FS2002\\Aircraft\\Cessna\\aircraft.cfg", "FS2002/Aircraft/CESSNA/", "",
       "FS2002/Aircraft/CESSNA/aircraft.cfg"},
      {"a removed file leaves the path's own spelling", "FS2002/Aircraft/Old.cfg", "C:\\FS2002\\aircraft\\old.cfg",
       "-FS2002/Aircraft/Old.cfg", "", "FS2002/Aircraft/old.cfg"},
      {"a folder renamed to another case", "FS2002/Aircraft/Cessna/aircraft.cfg",
       "C:\\FS2002\\Aircraft\\cessna\\aircraft.cfg", "FS2002/Aircraft/Cessna => FS2002/Aircraft/CESSNA", "",
       "FS2002/Aircraft/CESSNA/aircraft.cfg"},
      {"a folder on the way moved off and another made in its place", "FS2002/Aircraft/Cessna/Panel/panel.cfg",
       "C:\\fs2002\\aircraft\\cessna\\panel\\panel.cfg",
       "FS2002/Aircraft => Old; FS2002/AIRCRAFT/cessna/PANEL/Panel.CFG",
       "C:\\FS2002\\Aircraft\\Cessna\\Panel\\panel.cfg", "FS2002/AIRCRAFT/cessna/PANEL/Panel.CFG"},
      {"the drive's folder itself replaced", "FS2002/fs2002.exe", "C:\\fs2002\\FS2002.EXE",
       "../c => ../c.old; fs2002/FS2002.exe", "C:\\FS2002\\fs2002.exe", "fs2002/FS2002.exe"},
      {"the drive's folder a link pointed elsewhere",
       "Real1/FS2002/fs2002.exe; Real2/fs2002/FS2002.EXE; DriveD -> Real1", "D:\\fs2002\\fs2002.exe",
       "-DriveD; DriveD -> Real2", "D:\\FS2002\\fs2002.exe", "DriveD/fs2002/FS2002.EXE"},
      {"an exact twin made later wins", "Twins/DATA", "C:\\Twins\\data", "Twins/data", "", "Twins/data"},
      {"the first twin removed: the other one", "Twins/DATA; Twins/Data", "C:\\twins\\data", "-Twins/DATA", "",
       "Twins/Data"},
      {"a folder replaced by a file of its name", "A/B/c.txt", "C:\\a\\b\\C.TXT", "-A/B; A/b", "C:\\a\\B\\C.TXT",
       "A/b/C.TXT"},
      {"a linked folder pointed elsewhere", "Real1/X.cfg; Real2/x.Cfg; Link -> Real1", "C:\\link\\x.cfg",
       "-Link; Link -> Real2", "", "Link/x.Cfg"},
      {"a folder moved in from outside the drive", "FS2002/Aircraft/", "C:\\FS2002\\Aircraft\\Jet\\aircraft.cfg",
       "../outside/JET/Aircraft.CFG; ../outside/JET => FS2002/Aircraft/JET", "", "FS2002/Aircraft/JET/Aircraft.CFG"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    for (const auto& gone : {c, c + ".old", tmp.path() + "/outside"}) fsys::remove_all(gone);
    fsys::create_directories(c);
    lay(c, k.layout);
    core::FolderNameCache cache;
    drives.toHost(k.primed, cache);
    lay(c, k.change);
    const std::string path = *k.path ? k.path : k.primed;
    EXPECT_EQ(drives.toHost(path, cache), c + "/" + k.host);
    EXPECT_EQ(drives.toHost(path), c + "/" + k.host) << "the disk itself says otherwise";
  }
}

// A new file in a folder costs no listing of it: an installation's thousand
// new names list each folder on their way once, whether the kernel tells
// the cache of them or the program does. A folder the program listed
// itself is not listed again by a cache that does not watch.
TEST_F(FolderNameCacheTest, NewNamesListTheirFolderOnce) {
  for (const auto watch : {core::NameWatch::Kernel, core::NameWatch::OwnChangesOnly}) {
    SCOPED_TRACE(static_cast<int>(watch));
    fsys::remove_all(c);
    fsys::create_directories(c + "/FS2002/Aircraft/Jumbo/texture");
    core::FolderNameCache cache(4096, watch);
    cache.listed(c, {{"FS2002"}});
    for (int i = 0; i < 1000; ++i) {
      const std::string host =
          drives.toHost("C:\\fs2002\\aircraft\\jumbo\\TEXTURE\\Tex" + std::to_string(i) + ".bmp", cache);
      ASSERT_EQ(host, c + "/FS2002/Aircraft/Jumbo/texture/Tex" + std::to_string(i) + ".bmp");
      writeHostFile(host, "");
      cache.changed(host);
    }
    // C:, unless the program listed it, then FS2002, Aircraft, Jumbo, texture
    EXPECT_EQ(cache.listings(), watch == core::NameWatch::Kernel ? 5u : 4u);
    EXPECT_EQ(drives.toHost("C:\\FS2002\\Aircraft\\Jumbo\\texture\\TEX999.BMP", cache),
              c + "/FS2002/Aircraft/Jumbo/texture/Tex999.bmp");
  }
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

// A plain file the program made is known as one until a change of its name
// comes: its own making, taken in later, leaves it so; anything made in its
// place, or changes taken in between its making and the program's word
// (another operation's), leave its type unknown, to be looked at.
TEST_F(FolderNameCacheTest, AFileTheProgramMadeIsPlainUntilItsNameChanges) {
  using Type = core::FolderNames::Type;
  const struct {
    const char* name;
    const char* behind;   // laid out behind the cache's back after the file is made
    bool resolvedBefore;  // a resolution takes in the changes before the program's word
    Type type;
  } cases[] = {
      {"left as it was made", "", false, Type::PlainFile},
      {"removed, a link made in its place", "-made.bmp; made.bmp -> Other", false, Type::Unknown},
      {"a link renamed over it", "link -> Other; link => made.bmp", false, Type::Unknown},
      {"removed, a folder made in its place", "-made.bmp; made.bmp/", false, Type::Unknown},
      {"changes taken in before the program's word", "", true, Type::Unknown},
      {"replaced before the program's word", "-made.bmp; made.bmp -> Other", true, Type::Unknown},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    fsys::remove_all(c);
    fsys::create_directories(c + "/TempZip/Other");
    core::FolderNameCache cache;
    const std::string host = drives.toHost("C:\\TempZip\\made.bmp", cache);
    const std::uint64_t news = cache.newsTaken();
    writeHostFile(host, "made");
    if (*k.behind) lay(c + "/TempZip", k.behind);
    if (k.resolvedBefore) drives.toHost("C:\\TempZip\\Other", cache);
    cache.madePlainFile(host, news);
    const auto found = drives.resolve("C:\\TempZip\\made.bmp", cache);
    EXPECT_EQ(found.host, host);
    EXPECT_EQ(found.type, k.type);
  }
}

}  // namespace
