#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/folder_name_cache.h"
#include "core/fs.h"
#include "core/paths.h"
#include "support/error_number.h"
#include "support/forwarding_fs.h"
#include "support/temp_dir.h"

namespace {

namespace fsys = std::filesystem;
using core::err::PathFileAccess;
using testsupport::errorNumberOf;
using testsupport::hostNames;
using testsupport::readHostFile;
using testsupport::writeHostFile;
using Names = std::vector<std::string>;

// Bytes that differ from block to block, to catch a block written twice or
// out of place.
std::string patterned(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 9));
  return bytes;
}

unsigned modeOf(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0u;
}

class HostFs : public ::testing::Test {
 protected:
  HostFs() : c(tmp.path() + "/c") {
    fsys::create_directories(c);
    drives.set('c', c, "test");
    drives.set('d', tmp.path() + "/unmounted", "test");
    fs = core::makeHostFileSystem(drives);
  }

  testsupport::TempDir tmp;
  std::string c;
  core::DriveTable drives;
  std::unique_ptr<core::FileSystem> fs;
};

// Refused operations carry the program's error numbers and touch no file.
TEST_F(HostFs, FailuresCarryTheProgramsErrorNumbers) {
  writeHostFile(c + "/FS2002/fs2002.exe", "MZ");
  writeHostFile(c + "/FS2002/Locked.cfg", "old");
  fsys::permissions(c + "/FS2002/Locked.cfg", fsys::perms::owner_read);
  writeHostFile(c + "/Other.txt", "other");
  ASSERT_EQ(::mkfifo((c + "/pipe").c_str(), 0644), 0);
  const struct {
    const char* name;
    std::function<void()> op;
    int number;
  } cases[] = {
      {"drive not in the table", [&] { fs->readFile("Q:\\x.cfg"); }, core::err::DeviceUnavailable},
      {"drive whose folder is gone", [&] { fs->readFile("D:\\x.cfg"); }, core::err::DeviceUnavailable},
      {"name the host cannot hold", [&] { fs->writeFile("C:\\" + std::string(300, 'n'), "x"); },
       core::err::BadFileName},
      {"missing file", [&] { fs->deleteFile("C:\\FS2002\\missing.cfg"); }, core::err::FileNotFound},
      {"write in a missing folder", [&] { fs->writeFile("C:\\NoSuch\\x.cfg", "x"); }, core::err::PathNotFound},
      {"folder under a missing parent", [&] { fs->makeFolder("C:\\NoSuch\\Sub"); }, core::err::PathNotFound},
      {"make a folder that exists in another case", [&] { fs->makeFolder("C:\\fs2002"); }, PathFileAccess},
      {"remove a folder that is not empty", [&] { fs->removeFolder("C:\\FS2002"); }, PathFileAccess},
      {"delete a read-only file", [&] { fs->deleteFile("C:\\FS2002\\locked.cfg"); }, PathFileAccess},
      {"copy over a read-only file", [&] { fs->copyFile("C:\\Other.txt", "C:\\FS2002\\Locked.cfg"); }, PathFileAccess},
      {"rename onto an existing file", [&] { fs->renameFile("C:\\Other.txt", "C:\\fs2002\\FS2002.EXE"); },
       core::err::FileAlreadyExists},
      {"read a folder as a file", [&] { fs->readFile("C:\\FS2002"); }, PathFileAccess},
      {"copy a pipe", [&] { fs->copyFile("C:\\pipe", "C:\\FS2002\\pipe.copy"); }, PathFileAccess},
      {"copy a file onto itself", [&] { fs->copyFile("C:\\Other.txt", "C:\\OTHER.TXT"); }, PathFileAccess},
      {"link over a read-only file", [&] { fs->linkFile("C:\\Other.txt", "C:\\FS2002\\Locked.cfg"); }, PathFileAccess},
      {"link a pipe", [&] { fs->linkFile("C:\\pipe", "C:\\FS2002\\pipe.copy"); }, PathFileAccess},
      {"link a file onto itself", [&] { fs->linkFile("C:\\Other.txt", "C:\\OTHER.TXT"); }, PathFileAccess},
      {"link into a missing folder", [&] { fs->linkFile("C:\\Other.txt", "C:\\NoSuch\\x.txt"); },
       core::err::PathNotFound},
      {"move over a read-only file", [&] { fs->moveFile("C:\\Other.txt", "C:\\FS2002\\Locked.cfg"); }, PathFileAccess},
      {"move a file onto itself", [&] { fs->moveFile("C:\\Other.txt", "C:\\OTHER.TXT"); }, PathFileAccess},
      {"move into a missing folder", [&] { fs->moveFile("C:\\Other.txt", "C:\\NoSuch\\x.txt"); },
       core::err::PathNotFound},
      {"scratch file in a missing folder", [&] { fs->createScratchFile("C:\\NoSuch\\x.bin"); },
       core::err::PathNotFound},
  };
  for (const auto& k : cases) EXPECT_EQ(errorNumberOf(k.op), k.number) << k.name;
  EXPECT_EQ(readHostFile(c + "/FS2002/Locked.cfg"), "old");
  EXPECT_EQ(readHostFile(c + "/Other.txt"), "other");
  EXPECT_EQ(hostNames(c), (Names{"FS2002", "Other.txt", "pipe"}));
  EXPECT_EQ(hostNames(c + "/FS2002"), (Names{"Locked.cfg", "fs2002.exe"}));
}

// A scratch file the program made is moved into place as it is; whatever
// took its name, or the target's, behind the program's back meanwhile is
// met as a move always met it: the file a link names is copied (the link
// stays out of the tree), a folder is refused, a target taken is replaced
// whole and a target folder gone is missing; with or without watching.
TEST_F(HostFs, MovesOfScratchFilesMeetWhatChangedBehindTheirBack) {
  enum class Ends { Moved, Copied, Refused, Missing };
  const struct {
    const char* name;
    std::function<void(const std::string& scratch, const std::string& target)> behind;
    Ends ends;
    int number = 0;  // of the failure
  } cases[] = {
      {"nothing changed", [](const std::string&, const std::string&) {}, Ends::Moved},
      {"removed, a link to a file made in its place",
       [&](const std::string& scratch, const std::string&) {
         fsys::remove(scratch);
         fsys::create_symlink(c + "/elsewhere.bmp", scratch);
       },
       Ends::Copied},
      {"a link renamed over it",
       [&](const std::string& scratch, const std::string&) {
         fsys::create_symlink(c + "/elsewhere.bmp", scratch + ".link");
         fsys::rename(scratch + ".link", scratch);
       },
       Ends::Copied},
      {"removed, a folder made in its place",
       [](const std::string& scratch, const std::string&) {
         fsys::remove(scratch);
         fsys::create_directory(scratch);
       },
       Ends::Refused, core::err::FileNotFound},
      {"the target's name taken", [](const std::string&, const std::string& target) { writeHostFile(target, "taken"); },
       Ends::Moved},
      {"the target's folder removed",
       [](const std::string&, const std::string& target) { fsys::remove_all(fsys::path(target).parent_path()); },
       Ends::Missing, core::err::PathNotFound},
  };
  for (const auto watch : {core::NameWatch::Kernel, core::NameWatch::OwnChangesOnly})
    for (const auto& k : cases) {
      SCOPED_TRACE(std::string(k.name) + (watch == core::NameWatch::Kernel ? ", watched" : ", unwatched"));
      fsys::remove_all(c);
      fsys::create_directories(c + "/TempZip");
      fsys::create_directories(c + "/FS2002/Texture");
      writeHostFile(c + "/elsewhere.bmp", "elsewhere");
      auto host = core::makeHostFileSystem(drives, nullptr, watch);
      // Both paths resolved once, so that their folders are held.
      ASSERT_FALSE(host->fileExists("C:\\FS2002\\Texture\\made.bmp"));
      auto out = host->createScratchFile("C:\\TempZip\\made.bmp");
      out->write("made", 4);
      out->commit();
      const std::string scratch = c + "/TempZip/made.bmp", target = c + "/FS2002/Texture/made.bmp";
      k.behind(scratch, target);
      const int number =
          errorNumberOf([&] { host->moveFile("C:\\TEMPZIP\\made.bmp", "C:\\fs2002\\texture\\made.bmp"); });
      EXPECT_EQ(number, k.number);
      switch (k.ends) {
        case Ends::Moved:
        case Ends::Copied:
          EXPECT_FALSE(fsys::is_symlink(target));
          EXPECT_EQ(readHostFile(target), k.ends == Ends::Moved ? "made" : "elsewhere");
          EXPECT_EQ(hostNames(c + "/TempZip"), Names{});
          EXPECT_EQ(hostNames(c + "/FS2002/Texture"), Names{"made.bmp"});
          break;
        case Ends::Refused:
          EXPECT_TRUE(fsys::is_directory(scratch));
          EXPECT_EQ(hostNames(c + "/FS2002/Texture"), Names{});
          break;
        case Ends::Missing:
          EXPECT_EQ(readHostFile(scratch), "made");
          EXPECT_FALSE(fsys::exists(c + "/FS2002/Texture"));
          break;
      }
      EXPECT_EQ(readHostFile(c + "/elsewhere.bmp"), "elsewhere");
    }
}

// Every number the program throws reads as a text of its own, never the
// generic one.
TEST(ErrorTexts, EachNumberHasItsOwnText) {
  namespace err = core::err;
  const int numbers[] = {
      err::InvalidProcedureCall, err::Overflow,       err::OutOfMemory,       err::TypeMismatch, err::LibraryNotLoaded,
      err::BadFileName,          err::FileNotFound,   err::FileAlreadyExists, err::DiskFull,     err::DeviceUnavailable,
      err::PermissionDenied,     err::PathFileAccess, err::PathNotFound};
  std::set<std::string> texts;
  for (int n : numbers) {
    SCOPED_TRACE(n);
    EXPECT_NE(core::describeError(n), core::describeError(-1));
    EXPECT_TRUE(texts.insert(core::describeError(n)).second);
  }
  EXPECT_EQ(core::RuntimeError(err::OutOfMemory).what(), std::string("Out of memory"));
}

TEST_F(HostFs, ListsPlainFilesByPatternAndFoldersSortedWithoutRegardToCase) {
  for (const char* name : {"b.AIR", "A.air", "c.txt", ".hidden.air", "readme"}) writeHostFile(c + "/Plane/" + name, "");
  for (const char* name : {"Zeta", "alpha", "sub.air", ".cache"}) fsys::create_directories(c + "/Plane/" + name);
  fsys::create_symlink(c + "/Plane/c.txt", c + "/Plane/Link.TXT");
  EXPECT_EQ(fs->listFiles("C:\\PLANE", "*.air", true), (Names{".hidden.air", "A.air", "b.AIR"}));
  EXPECT_EQ(fs->listFiles("C:\\PLANE", "*.AIR;*.txt", false), (Names{"A.air", "b.AIR", "c.txt", "Link.TXT"}));
  EXPECT_EQ(fs->listFiles("C:\\PLANE", "*", false), (Names{"A.air", "b.AIR", "c.txt", "Link.TXT", "readme"}));
  EXPECT_EQ(fs->listFolders("c:\\plane"), (Names{".cache", "alpha", "sub.air", "Zeta"}));
  const auto both = fs->listFilesAndFolders("C:\\plane");
  EXPECT_EQ(both.files, (Names{".hidden.air", "A.air", "b.AIR", "c.txt", "Link.TXT", "readme"}));
  EXPECT_EQ(both.folders, (Names{".cache", "alpha", "sub.air", "Zeta"}));
  // An ordinary file is a plain file or a link to one that is not hidden.
  for (const auto& [path, ordinary] : {std::pair{"C:\\plane\\a.AIR", true},
                                       {"C:\\Plane\\link.txt", true},
                                       {"C:\\Plane\\.hidden.air", false},
                                       {"C:\\Plane\\alpha", false},
                                       {"C:\\Plane\\none.air", false}})
    EXPECT_EQ(fs->ordinaryFileExists(path), ordinary) << path;
  // A name the listing lacks is missing until one is made behind its back.
  EXPECT_FALSE(fs->attributesIfAny("C:\\Plane\\Late.air"));
  writeHostFile(c + "/Plane/late.AIR", "");
  EXPECT_TRUE(fs->attributesIfAny("C:\\Plane\\Late.air"));
  // So does an operation of two paths.
  writeHostFile(c + "/Plane/later.AIR", "later");
  fs->copyFile("C:\\Plane\\Later.air", "C:\\Plane\\Copy.air");
  EXPECT_EQ(readHostFile(c + "/Plane/Copy.air"), "later");
  EXPECT_TRUE(fs->listFiles("C:\\NoSuch").empty());
  EXPECT_TRUE(fs->folderExists("c:\\PLANE\\"));
  EXPECT_FALSE(fs->folderExists("C:\\Plane\\A.air"));
}

// Folders and files are found in any case; a rename may change only the case
// and never replaces; attributes map to the owner write bit and a leading dot.
// A file system that watches no folder keeps its names in step with its own
// changes.
TEST_F(HostFs, NamesOfAnyCaseReachTheSameEntries) {
  for (const auto watch : {core::NameWatch::Kernel, core::NameWatch::OwnChangesOnly}) {
    SCOPED_TRACE(static_cast<int>(watch));
    fs = core::makeHostFileSystem(drives, nullptr, watch);
    fsys::create_directories(c + "/FS2002/aircraft");
    EXPECT_EQ(fs->attributesIfAny("C:\\FS2002\\Aircraft\\Cessna"), std::nullopt);
    fs->makeFolder("C:\\FS2002\\Aircraft\\Cessna");
    fs->writeFile("C:\\fs2002\\AIRCRAFT\\CESSNA\\Foo.txt", "foo");
    fs->writeFile("C:\\fs2002\\AIRCRAFT\\CESSNA\\.bar.txt", "bar");
    EXPECT_EQ(hostNames(c + "/FS2002/aircraft/Cessna"), (Names{".bar.txt", "Foo.txt"}));
    fs->renameFile("C:\\FS2002\\aircraft\\cessna\\foo.txt", "C:\\FS2002\\aircraft\\cessna\\FOO.TXT");
    EXPECT_EQ(errorNumberOf([&] {
                fs->renameFile("C:\\fs2002\\aircraft\\cessna\\foo.txt", "C:\\FS2002\\aircraft\\cessna\\.BAR.txt");
              }),
              core::err::FileAlreadyExists);
    EXPECT_EQ(hostNames(c + "/FS2002/aircraft/Cessna"), (Names{".bar.txt", "FOO.TXT"}));

    using namespace core::attr;
    const std::string folder = "C:\\FS2002\\AIRCRAFT\\cessna\\";
    EXPECT_EQ(fs->attributes(folder + ".bar.txt"), Hidden);
    fs->setAttributes(folder + "foo.txt", ReadOnly | Hidden | System);
    EXPECT_EQ(fs->attributesIfAny(folder + "foo.txt"), ReadOnly);
    EXPECT_EQ(modeOf(c + "/FS2002/aircraft/Cessna/FOO.TXT") & 0222, 0u);
    fs->setAttributes(folder + "foo.txt", Archive);
    EXPECT_EQ(modeOf(c + "/FS2002/aircraft/Cessna/FOO.TXT"), 0644u);
    EXPECT_EQ(fs->attributes("C:\\FS2002"), Folder);
    fs->deleteFile(folder + "FOO.txt");
    fs->deleteFile(folder + ".BAR.TXT");
    EXPECT_EQ(fs->attributesIfAny(folder + "foo.txt"), std::nullopt);
    fs->removeFolder("C:\\fs2002\\aircraft\\CESSNA\\");
    EXPECT_EQ(hostNames(c + "/FS2002/aircraft"), Names{});
    fs->makeFolder("C:\\FS2002\\Aircraft\\CESSNA");
    EXPECT_EQ(hostNames(c + "/FS2002/aircraft"), Names{"CESSNA"});
    fsys::remove_all(c + "/FS2002");
  }
}

// A write replaces the file whole (nothing shows before commit), keeps its
// permissions and a link; a copy streams and keeps the target's permissions,
// or takes the source's for a new file.
TEST_F(HostFs, WritesAndCopiesReplaceAtomicallyAndKeepPermissions) {
  writeHostFile(c + "/cfg/aircraft.cfg", "old");
  fsys::permissions(c + "/cfg/aircraft.cfg", fsys::perms(0640));
  fs->writeFile("C:\\CFG\\Aircraft.cfg", "new content");
  EXPECT_EQ(readHostFile(c + "/cfg/aircraft.cfg"), "new content");
  EXPECT_EQ(modeOf(c + "/cfg/aircraft.cfg"), 0640u);
  writeHostFile(c + "/shared/panel.cfg", "shared");
  fsys::create_symlink("../shared/panel.cfg", c + "/cfg/panel.cfg");
  fs->writeFile("C:\\cfg\\panel.cfg", "updated");
  EXPECT_TRUE(fsys::is_symlink(c + "/cfg/panel.cfg"));
  EXPECT_EQ(readHostFile(c + "/shared/panel.cfg"), "updated");
  // Dropped without commit(), a writer leaves the old file; a scratch file
  // is written in place and goes, unless its name was taken: then it
  // replaces the file as a write does.
  const struct {
    bool scratch;
    std::string name, seen;
  } dropped[] = {{false, "aircraft.cfg", "new content"},
                 {true, "scratch.bin", "abandoned"},
                 {true, "aircraft.cfg", "new content"}};
  for (const auto& d : dropped) {
    auto writer = d.scratch ? fs->createScratchFile("C:\\CFG\\" + d.name) : fs->createFile("C:\\cfg\\" + d.name);
    writer->write("abandoned", 9);
    EXPECT_EQ(readHostFile(c + "/cfg/" + d.name), d.seen) << d.name;
  }
  EXPECT_EQ(hostNames(c + "/cfg"), (Names{"aircraft.cfg", "panel.cfg"}));
  // A committed scratch file has the permissions of a new file whatever the
  // mask the file system was made under.
  for (const unsigned mask : {022u, 077u, 0u}) {
    const mode_t before = ::umask(mask);
    auto masked = core::makeHostFileSystem(drives);
    auto scratch = masked->createScratchFile("C:\\cfg\\scratch.bin");
    scratch->write("kept", 4);
    scratch->commit();
    ::umask(before);
    EXPECT_EQ(readHostFile(c + "/cfg/scratch.bin"), "kept") << mask;
    EXPECT_EQ(modeOf(c + "/cfg/scratch.bin"), 0644u) << mask;
    fsys::remove(c + "/cfg/scratch.bin");
  }

  const std::string big = patterned(3 * 1024 * 1024 + 17);
  writeHostFile(c + "/src/Texture.bmp", big);
  fsys::permissions(c + "/src/Texture.bmp", fsys::perms(0755));
  fs->copyFile("C:\\SRC\\texture.bmp", "C:\\cfg\\aircraft.CFG");
  EXPECT_TRUE(readHostFile(c + "/cfg/aircraft.cfg") == big);
  EXPECT_EQ(modeOf(c + "/cfg/aircraft.cfg"), 0640u);
  fs->copyFile("C:\\src\\texture.bmp", "C:\\cfg\\new.bmp");
  EXPECT_EQ(modeOf(c + "/cfg/new.bmp"), 0755u);
  // A link or a move gives the content as a copy does, the file a link names
  // and the permissions included, and leaves no temporary name; a move
  // leaves no source either.
  for (const bool move : {false, true}) {
    SCOPED_TRACE(move ? "move" : "link");
    fsys::remove_all(c + "/src");
    writeHostFile(c + "/src/given.bmp", "given");
    writeHostFile(c + "/src/texture.bmp", big);
    writeHostFile(c + "/src/fresh.bmp", "fresh");
    fsys::permissions(c + "/src/fresh.bmp", fsys::perms(0755));
    const std::string fresh = move ? "moved.bmp" : "linked.bmp";
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"given.bmp", "aircraft.cfg"},
                                   {"texture.bmp", "panel.cfg"},
                                   {"fresh.bmp", fresh}})
      move ? fs->moveFile("C:\\src\\" + from, "C:\\cfg\\" + to) : fs->linkFile("C:\\src\\" + from, "C:\\cfg\\" + to);
    EXPECT_EQ(readHostFile(c + "/cfg/aircraft.cfg"), "given");
    EXPECT_EQ(modeOf(c + "/cfg/aircraft.cfg"), 0640u);
    EXPECT_TRUE(fsys::is_symlink(c + "/cfg/panel.cfg"));
    EXPECT_TRUE(readHostFile(c + "/shared/panel.cfg") == big);
    EXPECT_EQ(modeOf(c + "/cfg/" + fresh), 0755u);
    EXPECT_EQ(hostNames(c + "/src"), move ? Names{} : (Names{"fresh.bmp", "given.bmp", "texture.bmp"}));
  }
  EXPECT_EQ(hostNames(c + "/cfg"), (Names{"aircraft.cfg", "linked.bmp", "moved.bmp", "new.bmp", "panel.cfg"}));
}

// A file is read whole whatever its size says: nothing for an empty one,
// every byte of one that the size reaches exactly or by a block boundary,
// and the whole text of a kernel file that tells no size at all.
TEST_F(HostFs, ReadsTheWholeFileWhateverItsSizeTells) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{3 * 1024 * 1024 + 17}}) {
    SCOPED_TRACE(size);
    const std::string file = c + "/" + std::to_string(size);
    writeHostFile(file, patterned(size));
    EXPECT_TRUE(core::readHostFile(file) == patterned(size));
  }
  const std::string cmdline = core::readHostFile("/proc/self/cmdline");
  EXPECT_FALSE(cmdline.empty());
  EXPECT_EQ(cmdline, readHostFile("/proc/self/cmdline"));
}

TEST_F(HostFs, FreeSpaceOfAPathThatDoesNotExistYet) {
  // The nearest existing folder's disk; other programs write meanwhile.
  const std::uint64_t root = fs->freeSpace("C:\\");
  const std::uint64_t missing = fs->freeSpace("C:\\not\\there\\yet");
  EXPECT_GT(root, 0u);
  EXPECT_LT(root > missing ? root - missing : missing - root, std::uint64_t{256} << 20);
}

// A copy that fails part-way, at any point or at the commit, or that the
// kernel refuses (a file size limit), leaves the file it was to replace whole
// and no temporary file behind.
TEST_F(HostFs, InterruptedCopyLeavesTheOldFileWhole) {
  const std::string incoming(100000, 'n'), old = "[fltsim.0]\r\ntitle=Old\r\n";
  writeHostFile(c + "/in/aircraft.cfg", incoming);
  writeHostFile(c + "/sim/aircraft.cfg", old);
  testsupport::ForwardingFs failing(*fs);
  for (std::size_t limit : {std::size_t{0}, std::size_t{4096}, incoming.size() - 1}) {
    SCOPED_TRACE("fails after " + std::to_string(limit) + " bytes");
    failing.bytesWritten = 0;
    failing.failAfterBytes = limit;
    EXPECT_EQ(errorNumberOf([&] { failing.copyFile("C:\\in\\aircraft.cfg", "C:\\SIM\\Aircraft.cfg"); }),
              core::err::DiskFull);
  }
  failing.failAfterBytes.reset();
  failing.failAtCommit = true;
  EXPECT_EQ(errorNumberOf([&] { failing.writeFile("C:\\sim\\aircraft.cfg", incoming); }), core::err::DiskFull);

  rlimit saved;
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto savedHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit low = saved;
  low.rlim_cur = 70000;
  ::setrlimit(RLIMIT_FSIZE, &low);
  const int number = errorNumberOf([&] { fs->copyFile("C:\\in\\aircraft.cfg", "C:\\sim\\aircraft.cfg"); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, savedHandler);
  EXPECT_EQ(number, core::err::DiskFull);

  EXPECT_EQ(readHostFile(c + "/sim/aircraft.cfg"), old);
  EXPECT_EQ(hostNames(c + "/sim"), Names{"aircraft.cfg"});
  failing.failAtCommit = false;
  failing.copyFile("C:\\in\\aircraft.cfg", "C:\\sim\\aircraft.cfg");
  EXPECT_EQ(readHostFile(c + "/sim/aircraft.cfg"), incoming);
}

}  // namespace
