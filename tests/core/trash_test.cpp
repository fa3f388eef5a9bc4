#include "core/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/environment.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(Trash, OriginalPathIsWrittenAsAUriPath) {
  EXPECT_EQ(core::trashInfoPath("/home/u/My Planes/Caf\xC3\xA9/50%/a+b"), "/home/u/My%20Planes/Caf%C3%A9/50%25/a%2Bb");
}

// A folder on another file system than the home trash goes to the trash at
// the top of its own file system, named relative to that top, and a folder
// of the same name already in the trash keeps its place.
TEST(Trash, FolderOnAnotherFileSystemGoesToItsTopDirectoryTrash) {
  testsupport::TempDir home;
  struct stat homeSt {
  }, shmSt{};
  if (::stat(home.path().c_str(), &homeSt) != 0 || ::stat("/dev/shm", &shmSt) != 0 || homeSt.st_dev == shmSt.st_dev ||
      ::access("/dev/shm", W_OK) != 0)
    GTEST_SKIP() << "needs /dev/shm as a writable file system of its own";
  const std::string own = "/dev/shm/.Trash-" + std::to_string(::getuid());
  const bool hadOwn = fs::exists(own);
  const std::string top = "/dev/shm/hangarpak-trash-" + std::to_string(::getpid());
  core::Environment env;
  env.set("HOME", home.path());

  for (int n : {1, 2}) {
    testsupport::writeHostFile(top + "/Aircraft/Cub/model/cub.mdl", "model " + std::to_string(n));
    auto item = core::makeDesktopTrash(env)->open(top + "/Aircraft/Cub");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->put(top + "/Aircraft/Cub/model/cub.mdl"));
    EXPECT_FALSE(item->put(top + "/Aircraft/Other/file.txt"));
    const std::string name = n == 1 ? "Cub" : "Cub.2";
    EXPECT_EQ(item->trashedFolder(), own + "/files/" + name);
    EXPECT_EQ(testsupport::readHostFile(own + "/files/" + name + "/model/cub.mdl"), "model " + std::to_string(n));
    const std::string info = testsupport::readHostFile(own + "/info/" + name + ".trashinfo");
    EXPECT_NE(info.find("\nPath=" + top.substr(std::string("/dev/shm/").size()) + "/Aircraft/Cub\n"), std::string::npos)
        << info;
  }
  EXPECT_FALSE(fs::exists(top + "/Aircraft/Cub/model/cub.mdl"));
  EXPECT_EQ(fs::status(own).permissions() & fs::perms::all, fs::perms::owner_all);

  fs::remove_all(top);
  for (const char* name : {"Cub", "Cub.2"}) {
    fs::remove_all(own + "/files/" + name);
    fs::remove(own + "/info/" + std::string(name) + ".trashinfo");
  }
  if (!hadOwn) fs::remove_all(own);
}

}  // namespace
