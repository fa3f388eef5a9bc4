#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <filesystem>

#include "core/context.h"
#include "core/errors.h"
#include "install/install_fixture.h"
#include "support/error_number.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"

namespace installtest {
namespace {

namespace fsys = std::filesystem;

// What is written is larger than the room left.
constexpr std::size_t kRoom = 16 * 1024;
const std::string kLarge(64 * 1024, 'x');

// A small tmpfs over each folder, filled up to kRoom free bytes, where the
// test may mount one (as root); otherwise the writes are made to fail
// where they would run out of space: through the failing file system, or,
// for the stores' own host writes, a file-size limit on the process.
class FullDiskTest : public InstallFixture {
 protected:
  FullDiskTest() : failing(*fs) {
    for (const auto& folder : {root + "/c", root + "/config"}) {
      fsys::create_directories(folder);
      if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") == 0) mounted.push_back(folder);
    }
    if (mounted.size() == 1) ::umount2(mounted[0].c_str(), MNT_DETACH), mounted.clear();
    makeSimulator(80);
    writeFile("C:\\FS2002\\Gauges\\shared.gau", "the gauge every panel uses");
    settings->save("Hangarpak", "Main", "FS Path", "C:\\FS2002");
    for (const auto& folder : mounted) fill(folder);
  }
  ~FullDiskTest() override {
    for (const auto& folder : mounted) ::umount2(folder.c_str(), MNT_DETACH);
  }

  static void fill(const std::string& folder) {
    FILE* f = std::fopen((folder + "/filler").c_str(), "wb");
    const std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
    fsys::resize_file(folder + "/filler", fsys::file_size(folder + "/filler") - kRoom);
  }

  // Runs a host write that must run out of space.
  template <class F>
  void withoutRoom(F&& write) {
    if (!mounted.empty()) return write();
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = kRoom;
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
  }
  // A context whose writes run out of space.
  std::unique_ptr<core::Context> fullCtx() {
    failing.failAfterBytes = kRoom;
    failing.bytesWritten = 0;
    failing.onlyUnder = "C:\\";
    return contextOn(mounted.empty() ? failing : *fs);
  }

  testsupport::TreeSnapshot snapshot() const {
    auto all = testsupport::snapshotTree(root + "/c");
    for (auto& [path, bytes] : testsupport::snapshotTree(root + "/config")) all["config/" + path] = bytes;
    all.erase("filler");
    all.erase("config/filler");
    return all;
  }

  testsupport::ForwardingFs failing;
  std::vector<std::string> mounted;
};

TEST_F(FullDiskTest, WritesThatRunOutOfSpaceLeaveEveryFileAsItWas) {
  std::cout << (mounted.empty() ? "writes fail by injection\n" : "writes fail on a full tmpfs\n");
  const auto before = snapshot();
  {
    SCOPED_TRACE("settings save");
    withoutRoom([&] {
      EXPECT_EQ(testsupport::errorNumberOf([&] { settings->save("Hangarpak", "Main", "Startup Path", kLarge); }),
                core::err::DiskFull);
    });
    EXPECT_EQ(testsupport::treeDifferences(before, snapshot()), "");
    EXPECT_EQ(settings->get("Hangarpak", "Main", "FS Path", ""), "C:\\FS2002");
  }
  {
    SCOPED_TRACE("copy over a shared gauge during an installation");
    ArchiveBuilder plane;
    plane.add("plane.air", "air").add("aircraft.cfg", "[fltsim.0]\r\ntitle=Plane\r\n");
    plane.add("panel.cfg", "[Window Titles]\r\nWindow00=Main\r\n").add("shared.gau", kLarge);
    windows.loadProgress();
    dialogs.expectMessageHead("Install error 61", "Error", core::Buttons::OK, core::Icon::Exclamation);
    auto full = fullCtx();
    plane.writeTo(root + "/plane.zip");  // off the full disk
    full->state.currentArchivePath = "Z:\\plane.zip";
    EXPECT_THROW(install::InstallArchive(*full, full->state.currentArchivePath), core::EndProgram);
    // In words: the drive, the file that did not fit and its size.
    const std::string& said = dialogs.messages().back().text;
    EXPECT_NE(said.find("not enough free space on drive C:"), std::string::npos) << said;
    EXPECT_NE(said.find("shared.gau (64 KB)"), std::string::npos) << said;
    auto after = snapshot();
    // New folders and files may have been begun; nothing that was there changed.
    for (auto it = after.begin(); it != after.end();) it = before.count(it->first) ? std::next(it) : after.erase(it);
    EXPECT_EQ(testsupport::treeDifferences(before, after), "");
    EXPECT_EQ(registry->query(core::Hive::LocalMachine, simulatorKey(80), "EXE Path"), "C:\\FS2002");
  }
}

}  // namespace
}  // namespace installtest
