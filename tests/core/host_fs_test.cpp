#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "core/errors.h"
#include "core/fs.h"
#include "core/paths.h"
#include "support/failing_fs.h"
#include "support/temp_dir.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::readHostFile;
using testsupport::TempDir;
using testsupport::writeHostFile;

int errorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const core::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

unsigned modeOf(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0u;
}

std::vector<std::string> hostNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fsys::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class HostFs : public ::testing::Test {
 protected:
  HostFs() : c(tmp.path() + "/c") {
    fsys::create_directories(c);
    drives.set('c', c, "test");
    drives.set('d', tmp.path() + "/unmounted", "test");
    fs = core::makeHostFileSystem(drives);
  }

  TempDir tmp;
  std::string c;
  core::DriveTable drives;
  std::unique_ptr<core::FileSystem> fs;
};

TEST_F(HostFs, FailuresCarryTheProgramsErrorNumbers) {
  writeHostFile(c + "/FS2002/fs2002.exe", "MZ");
  writeHostFile(c + "/FS2002/Locked.cfg", "old");
  fsys::permissions(c + "/FS2002/Locked.cfg", fsys::perms::owner_read);
  writeHostFile(c + "/Other.txt", "other");
  ASSERT_EQ(::mkfifo((c + "/pipe").c_str(), 0644), 0);
  struct Case {
    const char* name;
    std::function<void()> op;
    int number;
  };
  const Case cases[] = {
      {"drive not in the table", [&] { fs->readFile("Q:\\x.cfg"); }, core::err::DeviceUnavailable},
      {"drive whose folder is gone", [&] { fs->readFile("D:\\x.cfg"); }, core::err::DeviceUnavailable},
      {"name the host cannot hold", [&] { fs->writeFile("C:\\" + std::string(300, 'n'), "x"); },
       core::err::BadFileName},
      {"missing file", [&] { fs->readFile("C:\\FS2002\\missing.cfg"); }, core::err::FileNotFound},
      {"size of a missing file", [&] { fs->fileSize("C:\\FS2002\\missing.cfg"); }, core::err::FileNotFound},
      {"delete a missing file", [&] { fs->deleteFile("C:\\FS2002\\missing.cfg"); }, core::err::FileNotFound},
      {"read in a missing folder", [&] { fs->readFile("C:\\NoSuch\\x.cfg"); }, core::err::PathNotFound},
      {"write in a missing folder", [&] { fs->writeFile("C:\\NoSuch\\x.cfg", "x"); }, core::err::PathNotFound},
      {"copy into a missing folder", [&] { fs->copyFile("C:\\Other.txt", "C:\\NoSuch\\x.txt"); },
       core::err::PathNotFound},
      {"folder under a missing parent", [&] { fs->makeFolder("C:\\NoSuch\\Sub"); }, core::err::PathNotFound},
      {"remove a missing folder", [&] { fs->removeFolder("C:\\NoSuch"); }, core::err::PathNotFound},
      {"make a folder that exists", [&] { fs->makeFolder("C:\\FS2002"); }, core::err::PathFileAccess},
      {"make a folder that exists in another case", [&] { fs->makeFolder("C:\\fs2002"); }, core::err::PathFileAccess},
      {"remove a folder that is not empty", [&] { fs->removeFolder("C:\\FS2002"); }, core::err::PathFileAccess},
      {"delete a read-only file", [&] { fs->deleteFile("C:\\FS2002\\locked.cfg"); }, core::err::PathFileAccess},
      {"write over a read-only file", [&] { fs->writeFile("C:\\FS2002\\Locked.cfg", "new"); },
       core::err::PathFileAccess},
      {"copy over a read-only file", [&] { fs->copyFile("C:\\Other.txt", "C:\\FS2002\\Locked.cfg"); },
       core::err::PathFileAccess},
      {"rename onto an existing file", [&] { fs->renameFile("C:\\Other.txt", "C:\\fs2002\\FS2002.EXE"); },
       core::err::FileAlreadyExists},
      {"read a folder as a file", [&] { fs->readFile("C:\\FS2002"); }, core::err::PathFileAccess},
      {"read a pipe", [&] { fs->readFile("C:\\pipe"); }, core::err::PathFileAccess},
      {"copy a pipe", [&] { fs->copyFile("C:\\pipe", "C:\\FS2002\\pipe.copy"); }, core::err::PathFileAccess},
      {"copy a file onto itself", [&] { fs->copyFile("C:\\Other.txt", "C:\\OTHER.TXT"); }, core::err::PathFileAccess},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(errorNumberOf(k.op), k.number);
  }
  // None of the refused operations touched a file.
  EXPECT_EQ(readHostFile(c + "/FS2002/Locked.cfg"), "old");
  EXPECT_EQ(readHostFile(c + "/Other.txt"), "other");
  EXPECT_EQ(readHostFile(c + "/FS2002/fs2002.exe"), "MZ");
  EXPECT_EQ(hostNames(c), (std::vector<std::string>{"FS2002", "Other.txt", "pipe"}));
}

TEST_F(HostFs, ExistenceOfFilesAndFolders) {
  writeHostFile(c + "/FS2002/.hidden.cfg", "");
  writeHostFile(c + "/FS2002/Aircraft.cfg", "");
  struct Case {
    const char* path;
    bool file;
    bool folder;
  };
  const Case cases[] = {
      {"C:\\fs2002\\AIRCRAFT.CFG", true, false},
      {"C:\\FS2002\\.hidden.cfg", true, false},
      {"C:\\FS2002", false, true},
      {"C:\\fs2002\\", false, true},
      {"C:\\FS2002\\none.cfg", false, false},
      {"Q:\\FS2002", false, false},
      {"no drive", false, false},
      {"D:\\", false, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.path);
    EXPECT_EQ(fs->fileExists(k.path), k.file);
    EXPECT_EQ(fs->folderExists(k.path), k.folder);
  }
}

TEST_F(HostFs, ListsPlainFilesByPatternAndFoldersSortedWithoutRegardToCase) {
  for (const char* name : {"b.AIR", "A.air", "c.txt", ".hidden.air", "readme"}) writeHostFile(c + "/Plane/" + name, "");
  for (const char* name : {"Zeta", "alpha", "sub.air", ".cache"}) fsys::create_directories(c + "/Plane/" + name);
  fsys::create_symlink(c + "/Plane/c.txt", c + "/Plane/Link.TXT");

  using Names = std::vector<std::string>;
  struct Case {
    const char* patterns;
    bool hidden;
    Names names;
  };
  const Case cases[] = {
      {"*.air", true, {".hidden.air", "A.air", "b.AIR"}},
      {"*.air", false, {"A.air", "b.AIR"}},
      {"*.AIR;*.txt", false, {"A.air", "b.AIR", "c.txt", "Link.TXT"}},
      {"*", false, {"A.air", "b.AIR", "c.txt", "Link.TXT", "readme"}},
      {"*.*", true, {".hidden.air", "A.air", "b.AIR", "c.txt", "Link.TXT", "readme"}},
      {"?.air", true, {"A.air", "b.AIR"}},
      {"*.zip;*.sif", true, {}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.patterns) + (k.hidden ? " with hidden" : ""));
    EXPECT_EQ(fs->listFiles("C:\\PLANE", k.patterns, k.hidden), k.names);
  }
  EXPECT_EQ(fs->listFolders("c:\\plane"), (Names{".cache", "alpha", "sub.air", "Zeta"}));
  EXPECT_TRUE(fs->listFiles("C:\\NoSuch").empty());
  EXPECT_TRUE(fs->listFolders("C:\\NoSuch").empty());
}

TEST_F(HostFs, MakingAFolderReusesOneThatDiffersOnlyInCase) {
  fsys::create_directories(c + "/FS2002/aircraft");
  EXPECT_EQ(errorNumberOf([&] { fs->makeFolder("C:\\FS2002\\Aircraft\\"); }), core::err::PathFileAccess);
  fs->makeFolder("C:\\FS2002\\Aircraft\\Cessna");
  fs->makeFolder("C:\\FS2002\\AIRCRAFT\\Cessna\\Panel");
  fs->writeFile("C:\\fs2002\\Aircraft\\CESSNA\\panel\\panel.cfg", "[Window Titles]\r\n");

  EXPECT_EQ(hostNames(c + "/FS2002"), std::vector<std::string>{"aircraft"});
  EXPECT_EQ(hostNames(c + "/FS2002/aircraft"), std::vector<std::string>{"Cessna"});
  EXPECT_EQ(readHostFile(c + "/FS2002/aircraft/Cessna/Panel/panel.cfg"), "[Window Titles]\r\n");

  fs->deleteFile("C:\\FS2002\\AIRCRAFT\\cessna\\PANEL\\Panel.CFG");
  fs->removeFolder("C:\\FS2002\\AIRCRAFT\\cessna\\PANEL");
  fs->removeFolder("C:\\fs2002\\aircraft\\CESSNA\\");
  EXPECT_EQ(hostNames(c + "/FS2002/aircraft"), std::vector<std::string>{});
}

TEST_F(HostFs, AttributesMapToTheOwnerWriteBitAndLeadingDot) {
  writeHostFile(c + "/T/plain.txt", "");
  writeHostFile(c + "/T/.dot.txt", "");
  writeHostFile(c + "/T/locked.txt", "");
  fsys::permissions(c + "/T/locked.txt", fsys::perms::owner_read | fsys::perms::group_read);
  using namespace core::attr;
  EXPECT_EQ(fs->attributes("C:\\t\\PLAIN.TXT"), Normal);
  EXPECT_EQ(fs->attributes("C:\\T\\.dot.txt"), Hidden);
  EXPECT_EQ(fs->attributes("C:\\T\\locked.txt"), ReadOnly);
  EXPECT_EQ(fs->attributes("C:\\T"), Folder);
  EXPECT_EQ(errorNumberOf([&] { fs->attributes("C:\\T\\none"); }), core::err::FileNotFound);

  fs->setAttributes("C:\\T\\locked.txt", Archive);
  EXPECT_EQ(fs->attributes("C:\\T\\locked.txt"), Normal);
  EXPECT_EQ(modeOf(c + "/T/locked.txt"), 0640u);
  fs->deleteFile("C:\\T\\locked.txt");

  fs->setAttributes("C:\\T\\plain.txt", ReadOnly | Hidden | System);
  EXPECT_EQ(fs->attributes("C:\\T\\plain.txt"), ReadOnly);
  EXPECT_EQ(modeOf(c + "/T/plain.txt") & 0222, 0u);
  // A folder marked read-only still takes new files.
  fs->setAttributes("C:\\T", ReadOnly);
  fs->writeFile("C:\\T\\new.txt", "x");
  EXPECT_EQ(readHostFile(c + "/T/new.txt"), "x");
}

TEST_F(HostFs, WritesReplaceAtomicallyAndKeepPermissions) {
  writeHostFile(c + "/cfg/aircraft.cfg", "old");
  fsys::permissions(c + "/cfg/aircraft.cfg", fsys::perms(0640));
  fs->writeFile("C:\\CFG\\Aircraft.cfg", "new content");
  EXPECT_EQ(readHostFile(c + "/cfg/aircraft.cfg"), "new content");
  EXPECT_EQ(modeOf(c + "/cfg/aircraft.cfg"), 0640u);

  fs->writeFile("C:\\cfg\\New.cfg", "");
  EXPECT_EQ(modeOf(c + "/cfg/New.cfg"), 0644u);
  EXPECT_EQ(fs->fileSize("C:\\cfg\\new.cfg"), 0u);

  // Through a link, the linked file is replaced and the link kept.
  writeHostFile(c + "/shared/panel.cfg", "shared");
  fsys::create_symlink("../shared/panel.cfg", c + "/cfg/panel.cfg");
  fs->writeFile("C:\\cfg\\panel.cfg", "updated");
  EXPECT_TRUE(fsys::is_symlink(c + "/cfg/panel.cfg"));
  EXPECT_EQ(readHostFile(c + "/shared/panel.cfg"), "updated");
  fsys::remove(c + "/cfg/panel.cfg");

  {
    auto writer = fs->createFile("C:\\cfg\\aircraft.cfg");
    writer->write("abandoned", 9);
    // Nothing is visible before commit.
    EXPECT_EQ(readHostFile(c + "/cfg/aircraft.cfg"), "new content");
  }
  EXPECT_EQ(readHostFile(c + "/cfg/aircraft.cfg"), "new content");
  EXPECT_EQ(hostNames(c + "/cfg"), (std::vector<std::string>{"New.cfg", "aircraft.cfg"}));
}

TEST_F(HostFs, CopyStreamsLargeFilesAndTakesPermissionsSensibly) {
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 131) ^ (i >> 9));
  writeHostFile(c + "/src/Texture.bmp", big);
  writeHostFile(c + "/src/run.sh", "#!/bin/sh\n");
  fsys::permissions(c + "/src/run.sh", fsys::perms(0755));
  writeHostFile(c + "/dst/texture.BMP", "older");
  fsys::permissions(c + "/dst/texture.BMP", fsys::perms(0600));

  fs->copyFile("C:\\SRC\\texture.bmp", "C:\\dst\\Texture.bmp");
  EXPECT_EQ(hostNames(c + "/dst"), std::vector<std::string>{"texture.BMP"});
  EXPECT_TRUE(readHostFile(c + "/dst/texture.BMP") == big);
  EXPECT_EQ(modeOf(c + "/dst/texture.BMP"), 0600u);

  fs->copyFile("C:\\src\\run.sh", "C:\\dst\\run.sh");
  EXPECT_EQ(modeOf(c + "/dst/run.sh"), 0755u);
}

TEST_F(HostFs, RenameChangesCaseAndNeverReplaces) {
  writeHostFile(c + "/d/Foo.txt", "foo");
  writeHostFile(c + "/d/bar.txt", "bar");
  fs->renameFile("C:\\d\\foo.txt", "C:\\D\\FOO.TXT");
  EXPECT_EQ(hostNames(c + "/d"), (std::vector<std::string>{"FOO.TXT", "bar.txt"}));
  EXPECT_EQ(errorNumberOf([&] { fs->renameFile("C:\\d\\foo.txt", "C:\\d\\BAR.txt"); }), core::err::FileAlreadyExists);
  EXPECT_EQ(readHostFile(c + "/d/bar.txt"), "bar");
  fs->renameFile("C:\\d", "C:\\Renamed");
  EXPECT_EQ(readHostFile(c + "/Renamed/FOO.TXT"), "foo");
}

TEST_F(HostFs, FreeSpaceOfAPathThatDoesNotExistYet) {
  // Other programs write to the same disk meanwhile: the two figures are of
  // one file system when they agree to within a little.
  const std::uint64_t root = fs->freeSpace("C:\\");
  const std::uint64_t missing = fs->freeSpace("C:\\not\\there\\yet");
  EXPECT_GT(root, 0u);
  const std::uint64_t apart = root > missing ? root - missing : missing - root;
  EXPECT_LT(apart, std::uint64_t{256} << 20);
}

// A copy that fails part-way, at any point, leaves the file it was to
// replace whole and no temporary file behind.
TEST_F(HostFs, InterruptedCopyLeavesTheOldFileWhole) {
  std::string incoming(10000, 'n');
  const std::string old = "[fltsim.0]\r\ntitle=Old\r\n";
  writeHostFile(c + "/in/aircraft.cfg", incoming);
  writeHostFile(c + "/sim/aircraft.cfg", old);
  testsupport::FailingFileSystem failing(*fs);

  for (std::size_t limit :
       {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{5000}, incoming.size() - 1}) {
    SCOPED_TRACE("fails after " + std::to_string(limit) + " bytes");
    failing.bytesWritten = 0;
    failing.failAfterBytes = limit;
    EXPECT_EQ(errorNumberOf([&] { failing.copyFile("C:\\in\\aircraft.cfg", "C:\\SIM\\Aircraft.cfg"); }),
              core::err::DiskFull);
    EXPECT_EQ(readHostFile(c + "/sim/aircraft.cfg"), old);
    EXPECT_EQ(hostNames(c + "/sim"), std::vector<std::string>{"aircraft.cfg"});
  }

  failing.failAfterBytes.reset();
  failing.failAtCommit = true;
  EXPECT_EQ(errorNumberOf([&] { failing.writeFile("C:\\sim\\aircraft.cfg", incoming); }), core::err::DiskFull);
  EXPECT_EQ(readHostFile(c + "/sim/aircraft.cfg"), old);
  EXPECT_EQ(hostNames(c + "/sim"), std::vector<std::string>{"aircraft.cfg"});

  failing.failAtCommit = false;
  failing.copyFile("C:\\in\\aircraft.cfg", "C:\\sim\\aircraft.cfg");
  EXPECT_EQ(readHostFile(c + "/sim/aircraft.cfg"), incoming);
  EXPECT_EQ(failing.commits, 1);
}

// The same with a real write failure of the host: a file size limit makes
// the kernel refuse the temporary file's growth part-way through the copy.
TEST_F(HostFs, CopyRefusedByTheKernelLeavesTheOldFileWhole) {
  const std::string old(20000, 'o');
  writeHostFile(c + "/in/big.bmp", std::string(200000, 'n'));
  writeHostFile(c + "/sim/big.bmp", old);

  struct Limit {
    rlimit saved;
    void (*savedHandler)(int);
    Limit() {
      ::getrlimit(RLIMIT_FSIZE, &saved);
      savedHandler = ::signal(SIGXFSZ, SIG_IGN);
      rlimit low = saved;
      low.rlim_cur = 70000;
      ::setrlimit(RLIMIT_FSIZE, &low);
    }
    ~Limit() {
      ::setrlimit(RLIMIT_FSIZE, &saved);
      ::signal(SIGXFSZ, savedHandler);
    }
  };
  int number = 0;
  {
    Limit limit;
    number = errorNumberOf([&] { fs->copyFile("C:\\in\\big.bmp", "C:\\sim\\big.bmp"); });
  }
  EXPECT_EQ(number, core::err::DiskFull);
  EXPECT_EQ(readHostFile(c + "/sim/big.bmp"), old);
  EXPECT_EQ(hostNames(c + "/sim"), std::vector<std::string>{"big.bmp"});
}

}  // namespace
