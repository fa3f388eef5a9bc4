#include "core/leftovers.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "core/atomic_file.h"
#include "core/writes_in_progress.h"
#include "support/sim_fixture.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::hostExists;
using testsupport::writeHostFile;
using Names = std::vector<std::string>;

using LeftoversTest = testsupport::SimFixture;

Names temporariesIn(const std::string& folder) {
  Names names;
  for (const auto& e : fsys::directory_iterator(folder))
    if (e.path().filename().string().starts_with(".hangarpak-")) names.push_back(e.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A run killed in the middle of its writes: each file's temporary is there,
// half written, and no longer held by a living writer.
void killedRun(const std::string& appFolder, const Names& files) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    core::WritesInProgress writes(appFolder);
    for (const auto& file : files) (new core::AtomicHostFile(file, std::nullopt, false, &writes))->write("half", 4);
    ::raise(SIGKILL);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
}

// The next start removes the dead temporaries of the stores and the
// application folder, and of the folders a killed run recorded however deep
// they lie; a live write keeps its own, and no other folder is looked at.
TEST_F(LeftoversTest, DeadTemporariesGoFromTheStoresAndFromWhereAKilledRunWrote) {
  makeSimulator(80);
  const std::string sim = host("C:\\FS2002"), app = root + "/app";
  const std::string cessna = sim + "/Aircraft/Cessna", deep = cessna + "/panel/too/deep";
  fsys::create_directories(deep);
  fsys::create_directories(app);
  const std::pair<std::string, bool> cases[] = {
      // a file, and whether it goes
      {root + "/config/hangarpak/.hangarpak-Ab12Cd", true},
      {root + "/config/Hangarpak/.hangarpak-zzzzzz", true},
      {root + "/config/Ortholay/.hangarpak-000000", true},
      {app + "/.hangarpak-qwerty", true},
      {root + "/config/hangarpak/.hangarpak-notes", false},
      {root + "/config/hangarpak/hangarpak-abcdef", false},
      {root + "/config/hangarpak/registry.ini", false},
      {sim + "/Texture/.hangarpak-aaaaaa", false},  // in no record
  };
  for (const auto& [file, removed] : cases) writeHostFile(file, "x");
  killedRun(app, {cessna + "/aircraft.cfg", deep + "/gauge.cfg"});
  // Writes in progress (here, in this process) hold their temporary files,
  // one of them in a folder the killed run wrote in too.
  core::AtomicHostFile liveStore(root + "/config/hangarpak/settings.ini");
  std::optional<core::WritesInProgress> writes(std::in_place, app);
  core::AtomicHostFile liveSim(cessna + "/aircraft.cfg", std::nullopt, false, &*writes);
  liveStore.write("[Main]\n", 7);
  liveSim.write("[fltsim.0]\n", 11);
  ASSERT_EQ(temporariesIn(cessna).size(), 2u);
  ASSERT_EQ(temporariesIn(deep).size(), 1u);

  core::RemoveLeftovers(ctx());
  for (const auto& [file, removed] : cases) EXPECT_EQ(hostExists(file), !removed) << file;
  EXPECT_EQ(temporariesIn(cessna), Names{liveSim.temporaryPath()});
  EXPECT_EQ(temporariesIn(deep), Names{});
  EXPECT_TRUE(hostExists(liveStore.temporaryPath()));
  // The killed run's record went with its leftovers; the live one stays
  // until its run ends.
  auto records = [&] {
    return std::distance(fsys::directory_iterator(app + "/writes-in-progress"), fsys::directory_iterator());
  };
  EXPECT_EQ(records(), 1);
  liveStore.commit();
  liveSim.commit();
  writes.reset();
  EXPECT_EQ(records(), 0);
  EXPECT_EQ(testsupport::readHostFile(root + "/config/hangarpak/settings.ini"), "[Main]\n");
  EXPECT_EQ(testsupport::readHostFile(cessna + "/aircraft.cfg"), "[fltsim.0]\n");
}

}  // namespace
