#include "install/install_command.h"

#include "core/context.h"
#include "install/install_fixture.h"

namespace installtest {
namespace {

using testsupport::ArchiveBuilder;

class InstallCommandTest : public InstallFixture {
 protected:
  InstallCommandTest() { makeSimulator(80); }
};

TEST_F(InstallCommandTest, CountsTheArchivesThatWereInstalled) {
  const std::vector<std::string> archives = {
      putArchive("hopper.zip", ArchiveBuilder().add("aircraft.cfg", "[fltsim.0]\r\n").add("hopper.air", "a")),
      putArchive("junk.zip", ArchiveBuilder().add("readme.txt", "x")),
      putArchive("glass.zip", ArchiveBuilder().add("panel.cfg", "[Window00]\r\n")),
  };
  state().installedCount = 7;
  dialogs.expectMessage("C:\\DOWNLOADS\\JUNK.ZIP\r\n\r\nThe ZIP file does NOT contain any FS98/2000/2002 files.");
  const auto run = install::RunInstallCommand(ctx(), archives);

  EXPECT_EQ(run.total, 3);
  EXPECT_EQ(run.installed, (std::vector<bool>{true, false, true}));
  EXPECT_FALSE(run.allInstalled());
  EXPECT_EQ(state().progressMode, 1);
  EXPECT_EQ(windows.counters, (std::vector<std::string>{"Installing file 1/3", "Installing file 2/3",
                                                        "Installing file 3/3", "2/3 file(s) successfully installed."}));
  EXPECT_EQ(windows.progressMessage, "Done!");
  EXPECT_TRUE(windows.progressVisible);
  EXPECT_TRUE(windows.progressOkEnabled);
  EXPECT_TRUE(windows.progressIsLoaded);
  EXPECT_EQ(dialogs.beeps, 1);
}

}  // namespace
}  // namespace installtest
