#include "core/leftovers.h"

#include <filesystem>

#include "core/atomic_file.h"
#include "support/sim_fixture.h"

namespace {

using testsupport::hostExists;
using testsupport::writeHostFile;

class LeftoversTest : public testsupport::SimFixture {};

TEST_F(LeftoversTest, DeadTemporariesGoWhereverTheProgramWritesLiveOnesAndOthersStay) {
  makeSimulator(80);
  const std::string sim = host("C:\\FS2002");
  struct Case {
    std::string file;
    bool removed;
  };
  const Case cases[] = {
      {root + "/config/hangarpak/.hangarpak-Ab12Cd", true},
      {root + "/config/Hangarpak/.hangarpak-zzzzzz", true},
      {root + "/config/Ortholay/.hangarpak-000000", true},
      {root + "/app/.hangarpak-qwerty", true},
      {sim + "/.hangarpak-aaaaaa", true},
      {sim + "/Aircraft/Cessna/panel.hgrpak1/.hangarpak-bbbbbb", true},
      {sim + "/Aircraft/Cessna/panel/too/.hangarpak-cccccc", false},  // deeper than any file the program writes
      {root + "/config/hangarpak/.hangarpak-notes", false},
      {root + "/config/hangarpak/hangarpak-abcdef", false},
      {root + "/config/hangarpak/registry.ini", false},
  };
  for (const auto& c : cases) writeHostFile(c.file, "x");
  // A write in progress (here, in this process) holds its temporary file.
  core::AtomicHostFile live(root + "/config/hangarpak/settings.ini");
  live.write("[Main]\n", 7);

  core::RemoveLeftovers(ctx());
  for (const auto& c : cases) EXPECT_EQ(hostExists(c.file), !c.removed) << c.file;
  EXPECT_TRUE(hostExists(live.temporaryPath()));
  live.commit();
  EXPECT_EQ(testsupport::readHostFile(root + "/config/hangarpak/settings.ini"), "[Main]\n");
}

}  // namespace
