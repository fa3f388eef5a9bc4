#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/errors.h"
#include "core/profile.h"
#include "core/registry.h"
#include "support/forwarding_fs.h"
#include "support/sim_fixture.h"

namespace {

// The profile calls through a file system that fails on demand.
class ProfileContextTest : public testsupport::SimFixture {
 protected:
  ProfileContextTest() : faulty(*fs), fctxp(contextWith(&faulty)), fctx(*fctxp) {}

  const std::string cfg = "C:\\FS2002\\Aircraft\\C172\\aircraft.cfg";
  const std::string old = "; Cessna\r\n[fltsim.0]\r\ntitle=Cessna 172\r\n\r\n[General]\r\natc_type=CESSNA\n";
  testsupport::ForwardingFs faulty;
  std::unique_ptr<core::Context> fctxp;
  core::Context& fctx;
};

// The rules of a value (conversion, cut, default) are the file reads' own;
// here the reads go through the context: a path of any spelling, no file
// made by a read, the default for a file that cannot be read.
TEST_F(ProfileContextTest, ReadsThroughTheFileSystemAndCreatesNothing) {
  const std::string spelled = "c:\\fs2002\\AIRCRAFT\\c172\\Aircraft.CFG";
  EXPECT_EQ(core::ReadProfileString(ctx(), cfg, "fltsim.0", "title", "Hangarpak"), "Hangarpak");
  EXPECT_TRUE(core::ReadProfileDocument(ctx(), cfg).sectionNames().empty());
  EXPECT_FALSE(exists(cfg));
  writeFile(cfg, "[fltsim.0]\r\ntitle=Caf\xE9\r\n[Sch\xF6n]\r\nk=\xA9\r\n");
  EXPECT_EQ(core::ReadProfileString(ctx(), spelled, "FLTSIM.0", "TITLE", "Hangarpak"), "Café");
  const core::profile::Document doc = core::ReadProfileDocument(ctx(), spelled);
  EXPECT_EQ(doc.get("Schön", "k"), "©");
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"fltsim.0", "Schön"}));
  faulty.failRead = [](std::string_view) { return true; };
  EXPECT_EQ(core::ReadProfileString(fctx, cfg, "fltsim.0", "title", "dflt"), "dflt");
}

TEST_F(ProfileContextTest, WriteCreatesAFileButNoFolderAndConverts) {
  writeFile("C:\\FS2002\\Aircraft\\C172\\readme.txt");
  EXPECT_TRUE(core::WriteProfileString(ctx(), cfg, "fltsim.0", "title", "Café"));
  EXPECT_TRUE(core::WriteProfileString(ctx(), "C:\\FS2002\\AIRCRAFT\\c172\\AIRCRAFT.CFG", "fltsim.0", "model", ""));
  EXPECT_EQ(readFile(cfg), "[fltsim.0]\r\ntitle=Caf\xE9\r\nmodel=\r\n");
  EXPECT_EQ(fs->listFiles("C:\\FS2002\\Aircraft\\C172", "*.cfg"), std::vector<std::string>{"aircraft.cfg"});
  const core::ProfileWrite nowhere =
      core::WriteProfileString(ctx(), "C:\\FS2002\\Nowhere\\aircraft.cfg", "a", "b", "c");
  EXPECT_EQ(nowhere.error, core::err::PathNotFound);
  EXPECT_EQ(nowhere.message.rfind("cannot write b of [a] into C:\\FS2002\\Nowhere\\aircraft.cfg: ", 0), 0u)
      << nowhere.message;
  EXPECT_FALSE(exists("C:\\FS2002\\Nowhere"));
}

// A write that fails part-way, at the final rename, on a
// read-only or unreadable file, or with a value that would not read back,
// leaves the old file whole and says why.
TEST_F(ProfileContextTest, FailedWriteLeavesTheOldFile) {
  writeFile(cfg, old);
  const struct {
    const char* name;
    std::function<void()> arrange;
    const char* value;
    int error;
  } cases[] = {
      {"part-way", [&] { faulty.failAfterBytes = 20; }, "x", core::err::DiskFull},
      {"at commit", [&] { faulty.failAtCommit = true; }, "x", core::err::DiskFull},
      {"read-only file", [&] { ::chmod(host(cfg).c_str(), 0444); }, "x", core::err::PermissionDenied},
      {"unreadable file is not replaced", [&] { faulty.failRead = [](std::string_view) { return true; }; }, "x",
       core::err::PathFileAccess},
      {"line break in the value", [] {}, "line\r\nbreak", core::err::InvalidProcedureCall},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    const core::ProfileWrite written = core::WriteProfileString(fctx, cfg, "fltsim.0", "title", c.value);
    EXPECT_EQ(written.error, c.error);
    EXPECT_NE(written.message.find(cfg), std::string::npos) << written.message;
    EXPECT_EQ(readFile(cfg), old);
    faulty.failAfterBytes.reset();
    faulty.bytesWritten = 0;
    faulty.failAtCommit = false;
    faulty.failRead = nullptr;
    ::chmod(host(cfg).c_str(), 0644);
  }
}

TEST_F(ProfileContextTest, ReadRegReadsWhatTheStoreHolds) {
  const std::string key = simulatorKey(80);
  registry->setValue(core::Hive::LocalMachine, key, "EXE Path", "C:\\FS2002");
  const struct {
    const char *hive, *value, *expected;
  } cases[] = {
      {"LM", "exe path", "C:\\FS2002"}, {"LM", "PID", ""}, {"CR", "EXE Path", ""},  // a key that does not open
  };
  for (const auto& c : cases)
    EXPECT_EQ(core::ReadReg(ctx(), c.hive, key, c.value), c.expected) << std::string(c.hive) + " " + c.value;
  core::WriteReg(ctx(), "CR", "WinZip\\Shell\\Hangarpak\\command", "", "\"/opt/hangarpak\" \"%1\"");
  EXPECT_EQ(core::ReadReg(ctx(), "cr", "winzip\\shell\\hangarpak\\COMMAND", ""), "\"/opt/hangarpak\" \"%1\"");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ProfileContextTest, RegistryFailuresShowTheirNumberAndEndTheProgram) {
  // The store's folder is a file: nothing can be read or written there.
  std::filesystem::remove_all(root + "/config/hangarpak");
  testsupport::writeHostFile(root + "/config/hangarpak", "not a folder");
  dialogs.expectMessage("ReadReg error 76", "Error", core::Buttons::OK, core::Icon::Exclamation);
  EXPECT_THROW(core::ReadReg(ctx(), "LM", "SOFTWARE\\x", "v"), core::EndProgram);
  dialogs.expectMessage("", "Error", core::Buttons::OK, core::Icon::Exclamation);
  EXPECT_THROW(core::WriteReg(ctx(), "LM", "SOFTWARE\\x", "v", "1"), core::EndProgram);
  EXPECT_EQ(dialogs.messages()[1].text.rfind("WriteReg error ", 0), 0u);
  EXPECT_TRUE(dialogs.done());
}

}  // namespace
