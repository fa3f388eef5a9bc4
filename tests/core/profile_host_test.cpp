#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/profile.h"
#include "support/failing_fs.h"
#include "support/sim_fixture.h"

namespace {

class ProfileHostTest : public testsupport::SimFixture {
 protected:
  const std::string cfg = "C:\\FS2002\\Aircraft\\C172\\aircraft.cfg";
  const std::string old = "; Cessna\r\n[fltsim.0]\r\ntitle=Cessna 172\r\nmodel=\r\n\r\n[General]\r\natc_type=CESSNA\n";
};

TEST_F(ProfileHostTest, NamesOfAnotherCaseReachTheSameFile) {
  writeFile(cfg, old);
  const std::string other = "c:\\fs2002\\AIRCRAFT\\c172\\Aircraft.CFG";
  EXPECT_EQ(core::ReadProfileString(ctx(), other, "FLTSIM.0", "TITLE", ""), "Cessna 172");
  core::WriteProfileString(ctx(), other, "fltsim.0", "title", "Cessna 172 Floats");
  EXPECT_EQ(state().lastApiResult, 1);
  EXPECT_EQ(readFile(cfg),
            "; Cessna\r\n[fltsim.0]\r\ntitle=Cessna 172 Floats\r\nmodel=\r\n\r\n[General]\r\natc_type=CESSNA\n");
  EXPECT_EQ(fs->listFiles("C:\\FS2002\\Aircraft\\C172"), std::vector<std::string>{"aircraft.cfg"});
}

TEST_F(ProfileHostTest, ReadNeverCreatesWriteDoes) {
  const std::string missing = "C:\\FS2002\\Aircraft\\New\\aircraft.cfg";
  writeFile("C:\\FS2002\\Aircraft\\New\\readme.txt");
  EXPECT_EQ(core::ReadProfileString(ctx(), missing, "fltsim.0", "title", "Hangarpak"), "Hangarpak");
  EXPECT_FALSE(exists(missing));
  core::WriteProfileString(ctx(), missing, "fltsim.0", "title", "New");
  EXPECT_EQ(state().lastApiResult, 1);
  EXPECT_EQ(readFile(missing), "[fltsim.0]\r\ntitle=New\r\n");
  // A write does not make folders, as the Windows call does not.
  core::WriteProfileString(ctx(), "C:\\FS2002\\Nowhere\\aircraft.cfg", "a", "b", "c");
  EXPECT_EQ(state().lastApiResult, 0);
  EXPECT_FALSE(exists("C:\\FS2002\\Nowhere"));
}

TEST_F(ProfileHostTest, WriteKeepsPermissionsAndRespectsReadOnly) {
  writeFile(cfg, old);
  ASSERT_EQ(::chmod(host(cfg).c_str(), 0640), 0);
  core::WriteProfileString(ctx(), cfg, "fltsim.0", "model", "floats");
  struct stat st;
  ASSERT_EQ(::stat(host(cfg).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  ASSERT_EQ(::chmod(host(cfg).c_str(), 0444), 0);
  const std::string before = readFile(cfg);
  core::WriteProfileString(ctx(), cfg, "fltsim.0", "model", "wheels");
  EXPECT_EQ(state().lastApiResult, 0);
  EXPECT_EQ(readFile(cfg), before);
}

// A write that fails after any number of bytes, or at the final rename,
// leaves the old file whole, and only lastApiResult tells.
TEST_F(ProfileHostTest, InterruptedWriteLeavesTheOldFile) {
  writeFile(cfg, old);
  testsupport::FailingFileSystem failing(*fs);
  core::Context failingCtx(ctx().env, ctx().locations, drives, failing, *settings, *registry, *launcher, dialogs,
                           printer);
  const std::string expected = core::profile::withValue(old, "General", "atc_model", "C172");
  for (std::size_t n = 0; n <= expected.size(); ++n) {
    SCOPED_TRACE(n);
    failing.failAfterBytes = n;
    failing.bytesWritten = 0;
    core::WriteProfileString(failingCtx, cfg, "General", "atc_model", "C172");
    ASSERT_EQ(failingCtx.state.lastApiResult, n < expected.size() ? 0 : 1);
    ASSERT_EQ(readFile(cfg), n < expected.size() ? old : expected);
    if (n < expected.size()) continue;
    writeFile(cfg, old);
  }
  failing.failAfterBytes.reset();
  failing.failAtCommit = true;
  core::WriteProfileString(failingCtx, cfg, "fltsim.0", "title", "Other");
  EXPECT_EQ(failingCtx.state.lastApiResult, 0);
  EXPECT_EQ(readFile(cfg), old);
}

}  // namespace
