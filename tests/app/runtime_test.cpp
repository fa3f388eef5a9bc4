#include "app/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/single_instance.h"
#include "journal/recorder.h"
#include "support/sim_fixture.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::hostExists;
using testsupport::readHostFile;

// The Windows form of an absolute host path on a drive mapped to "/".
std::string windowsOf(const std::string& drive, std::string hostPath) {
  std::replace(hostPath.begin(), hostPath.end(), '/', '\\');
  return drive + hostPath;
}

// The fixture's folders, with the application folder where the
// environment alone puts it.
class RuntimeTest : public testsupport::SimFixture {
 protected:
  RuntimeTest() { env.unset("HANGARPAK_HOME"); }
};

// The services work on the environment's folders (the stores' files are
// where every command-line test finds them); the next start rolls back an
// unfinished installation and clears TempZip and plan folders unless
// another instance runs, and torn temporaries of the stores always.
TEST_F(RuntimeTest, BuildsTheServicesOverTheEnvironmentsFoldersAndTidiesAfterAnEarlierRun) {
  env.set("HANGARPAK_DRIVES", "c=" + root + "/c;z=/");
  app::Runtime runtime(env, root + "/bin/hangarpak", dialogs, printer);
  core::Context& ctx = runtime.context();

  // The application folder is made and named through the drive table.
  EXPECT_TRUE(fsys::is_directory(root + "/data/hangarpak"));
  EXPECT_EQ(ctx.appFolder(), windowsOf("Z:", root + "/data/hangarpak"));
  EXPECT_EQ(runtime.locations().programFolder, root + "/bin");
  // The file system goes through the drive table.
  ctx.fs.writeFile("C:\\FS2002\\..\\Test.cfg", "x");
  EXPECT_EQ(readHostFile(root + "/c/Test.cfg"), "x");

  const std::string tempZip = root + "/data/hangarpak/TempZip";
  for (bool otherRuns : {true, false}) {
    SCOPED_TRACE(otherRuns ? "another instance runs" : "alone");
    testsupport::writeHostFile(tempZip + "/plane.air", "left over");
    testsupport::writeHostFile(root + "/config/hangarpak/.hangarpak-x1y2z3", "torn");
    testsupport::writeHostFile(root + "/data/hangarpak/.plan-a1b2c3/1", "a plan's copy");
    // An installation a killed run left unfinished.
    const std::string half = otherRuns ? "C:\\Half1.cfg" : "C:\\Half2.cfg";
    runtime.recorder().archiveStarted("C:\\plane.zip");
    ctx.fs.writeFile(half, "half");
    auto other = otherRuns ? core::InstanceLock::acquire(core::lockFilePath(runtime.locations())) : nullptr;
    EXPECT_EQ(runtime.tidyAfterEarlierRun().reports.empty(), otherRuns);
    EXPECT_EQ(ctx.fs.fileExists(half), otherRuns);
    EXPECT_EQ(hostExists(tempZip), otherRuns);
    EXPECT_EQ(hostExists(root + "/data/hangarpak/.plan-a1b2c3"), otherRuns);
    EXPECT_FALSE(hostExists(root + "/config/hangarpak/.hangarpak-x1y2z3"));
  }
}

TEST_F(RuntimeTest, AnApplicationFolderOnNoDriveGetsTheRootOnAFreeLetter) {
  env.set("HANGARPAK_DRIVES", "c=" + root + "/c;z=" + root + "/c");
  env.set("HANGARPAK_HOME", root + "/elsewhere/app");
  app::Runtime runtime(env, root + "/bin/hangarpak", dialogs, printer);
  EXPECT_EQ(runtime.drives().hostRoot('y'), "/");
  EXPECT_EQ(runtime.context().appFolder(), windowsOf("Y:", root + "/elsewhere/app"));
}

// The window program's question about a journal that cannot record: No
// leaves the file and installs nothing; Yes moves it aside, whole, and a
// new journal is started.
TEST_F(RuntimeTest, ABrokenJournalIsMovedAsideOnlyWhenTheUserSaysYes) {
  env.set("HANGARPAK_HOME", root + "/app");
  std::filesystem::create_directories(root + "/app");
  const std::string journal = root + "/app/journal.sqlite";
  for (const auto answer : {core::Answer::No, core::Answer::Yes}) {
    SCOPED_TRACE(answer == core::Answer::Yes ? "yes" : "no");
    testsupport::writeHostFile(journal, "not a database at all");
    app::Runtime runtime(env, root + "/bin/hangarpak", dialogs, printer);
    dialogs.expectMessageHead(
        "The install journal " + journal + " cannot be used: it cannot be read (file is not a database).",
        "Install journal", core::Buttons::YesNo, core::Icon::Exclamation, answer);
    const auto check = runtime.checkJournal();
    EXPECT_EQ(check.usable, answer == core::Answer::Yes) << check.said;
    EXPECT_NE(check.said.find(journal), std::string::npos) << check.said;
    const auto said = check.said;
    const auto at = said.find(" as ");
    if (answer == core::Answer::No) {
      EXPECT_EQ(testsupport::readHostFile(journal), "not a database at all");
      EXPECT_NE(runtime.context().journal->archiveStarted("C:\\x.zip").find(journal), std::string::npos);
    } else {
      ASSERT_NE(at, std::string::npos) << said;
      EXPECT_EQ(testsupport::readHostFile(said.substr(at + 4, said.find(';') - at - 4)), "not a database at all");
      EXPECT_EQ(runtime.checkJournal().said, "") << "a new journal is fine";
    }
  }
}

}  // namespace
