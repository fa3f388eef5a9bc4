#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/registry.h"
#include "core/settings.h"
#include "support/recording_launcher.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace {

using core::err::FileNotFound;

// Files in memory, with the failures a real disk has: a write that fails
// (disk full), a file that cannot be read, a read-only file.
class MemoryFileSystem : public core::FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> readOnly;
  std::map<std::string, int> readErrors;
  bool failWrites = false;
  int writes = 0;

  bool fileExists(std::string_view path) override { return files.count(std::string(path)) > 0; }
  bool folderExists(std::string_view) override { return true; }
  std::vector<std::string> listFiles(std::string_view, std::string_view, bool) override { return {}; }
  std::vector<std::string> listFolders(std::string_view) override { return {}; }
  std::uint64_t fileSize(std::string_view path) override { return readFile(path).size(); }
  std::string readFile(std::string_view path) override {
    if (auto e = readErrors.find(std::string(path)); e != readErrors.end()) throw core::RuntimeError(e->second);
    auto it = files.find(std::string(path));
    if (it == files.end()) throw core::RuntimeError(FileNotFound);
    return it->second;
  }
  void writeFile(std::string_view path, std::string_view bytes) override {
    if (failWrites) throw core::RuntimeError(core::err::DiskFull);
    ++writes;
    files[std::string(path)] = std::string(bytes);
  }
  std::unique_ptr<core::FileWriter> createFile(std::string_view) override { throw core::RuntimeError(5); }
  void copyFile(std::string_view, std::string_view) override { throw core::RuntimeError(5); }
  void renameFile(std::string_view, std::string_view) override { throw core::RuntimeError(5); }
  void deleteFile(std::string_view path) override { files.erase(std::string(path)); }
  void makeFolder(std::string_view) override {}
  void removeFolder(std::string_view) override {}
  unsigned attributes(std::string_view path) override {
    if (!fileExists(path)) throw core::RuntimeError(FileNotFound);
    return readOnly.count(std::string(path)) ? core::attr::ReadOnly : core::attr::Normal;
  }
  void setAttributes(std::string_view, unsigned) override {}
  std::uint64_t freeSpace(std::string_view) override { return 1u << 30; }
  std::string hostPath(std::string_view path) override { return std::string(path); }
};

class ProfileContextTest : public ::testing::Test {
 protected:
  ProfileContextTest() : settings(tmp.path() + "/config"), registry(tmp.path() + "/config/hangarpak/registry.ini") {
    drives.set('z', tmp.path(), "test");
    core::Locations locations;
    locations.appFolder = tmp.path();
    locations.configHome = tmp.path() + "/config";
    locations.registryFile = registry.file();
    ctx = std::make_unique<core::Context>(core::Environment(), locations, drives, fs, settings, registry, launcher,
                                          dialogs, printer);
  }

  static std::string padded(std::string_view text, std::size_t chars) {
    return std::string(text) + std::string(200 - chars, ' ');
  }

  testsupport::TempDir tmp;
  core::DriveTable drives;
  MemoryFileSystem fs;
  core::IniSettingsStore settings;
  core::IniRegistryStore registry;
  testsupport::RecordingLauncher launcher;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingPrinter printer;
  std::unique_ptr<core::Context> ctx;
};

constexpr const char* kCfg = "C:\\FS2002\\Aircraft\\c172\\aircraft.cfg";

TEST_F(ProfileContextTest, ReadLeavesTheValueInTheBufferAndItsLengthInTheResult) {
  fs.files[kCfg] = "[FLTSIM.0]\r\nTITLE=Caf\xE9 172\r\nlong=" + std::string(250, 'x') + "\r\nempty=\r\n";
  const struct {
    const char* key;
    const char* def;
    std::string value;
    std::size_t chars;
  } cases[] = {
      {"title", "Hangarpak", "Café 172", 8},  // Windows-1252 on disk, UTF-8 here
      {"long", "Hangarpak", std::string(199, 'x'), 199},
      {"empty", "Hangarpak", "", 0},
      {"missing", "Hangarpak", "Hangarpak", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(core::ReadProfileString(*ctx, kCfg, "fltsim.0", c.key, c.def), c.value);
    EXPECT_EQ(ctx->state.profileBuffer, padded(c.value, c.chars));
    EXPECT_EQ(ctx->state.lastApiResult, static_cast<std::int32_t>(c.chars));
  }
}

TEST_F(ProfileContextTest, ReadOfAMissingOrUnreadableFileGivesTheDefaultAndCreatesNothing) {
  EXPECT_EQ(core::ReadProfileString(*ctx, kCfg, "fltsim.0", "title", "Hangarpak"), "Hangarpak");
  EXPECT_TRUE(fs.files.empty());
  EXPECT_EQ(fs.writes, 0);
  fs.files[kCfg] = "[fltsim.0]\r\ntitle=x\r\n";
  fs.readErrors[kCfg] = core::err::PermissionDenied;
  EXPECT_EQ(core::ReadProfileString(*ctx, kCfg, "fltsim.0", "title", "dflt"), "dflt");
  EXPECT_EQ(ctx->state.lastApiResult, 4);
  // The default goes through the same 199-character buffer.
  EXPECT_EQ(core::ReadProfileString(*ctx, kCfg, "a", "b", std::string(250, 'd')), std::string(199, 'd'));
}

TEST_F(ProfileContextTest, WriteCreatesConvertsAndReportsInTheResult) {
  core::WriteProfileString(*ctx, kCfg, "fltsim.0", "title", "Café");
  EXPECT_EQ(ctx->state.lastApiResult, 1);
  EXPECT_EQ(fs.files[kCfg], "[fltsim.0]\r\ntitle=Caf\xE9\r\n");
  core::WriteProfileString(*ctx, kCfg, "fltsim.0", "model", "");
  EXPECT_EQ(fs.files[kCfg], "[fltsim.0]\r\ntitle=Caf\xE9\r\nmodel=\r\n");
  EXPECT_EQ(core::ReadProfileString(*ctx, kCfg, "FLTSIM.0", "TITLE", ""), "Café");
}

TEST_F(ProfileContextTest, FailedWriteLeavesTheFileAndOnlyTheResultShowsIt) {
  const std::string old = "; keep me\r\n[a]\r\nk=1\r\n";
  const struct {
    const char* name;
    std::function<void()> arrange;
  } cases[] = {
      {"disk full", [&] { fs.failWrites = true; }},
      {"read-only file", [&] { fs.readOnly.insert(kCfg); }},
      {"unreadable file is not replaced", [&] { fs.readErrors[kCfg] = core::err::PermissionDenied; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs = MemoryFileSystem();
    fs.files[kCfg] = old;
    c.arrange();
    ctx->state.lastApiResult = 7;
    core::WriteProfileString(*ctx, kCfg, "a", "k", "2");
    EXPECT_EQ(ctx->state.lastApiResult, 0);
    EXPECT_EQ(fs.files[kCfg], old);
    EXPECT_EQ(fs.writes, 0);
  }
  fs = MemoryFileSystem();
  core::WriteProfileString(*ctx, kCfg, "a", "k", "line\r\nbreak");
  EXPECT_EQ(ctx->state.lastApiResult, 0);
  EXPECT_TRUE(fs.files.empty());
}

TEST_F(ProfileContextTest, DocumentSpeaksUtf8) {
  fs.files[kCfg] = "[fltsim.0]\r\ntitle=Caf\xE9\r\n[Sch\xF6n]\r\nk=\xA9\r\n";
  const core::profile::Document doc = core::ReadProfileDocument(*ctx, kCfg);
  EXPECT_EQ(doc.get("fltsim.0", "title"), "Café");
  EXPECT_EQ(doc.get("Schön", "k"), "©");
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"fltsim.0", "Schön"}));
  EXPECT_TRUE(core::ReadProfileDocument(*ctx, "C:\\missing.cfg").sectionNames().empty());
}

TEST_F(ProfileContextTest, ReadRegReadsAndSetsTheResult) {
  const std::string key = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
  registry.setValue(core::Hive::LocalMachine, key, "EXE Path", "C:\\FS2002");
  ctx->state.lastApiResult = 99;
  EXPECT_EQ(core::ReadReg(*ctx, "LM", key, "exe path"), "C:\\FS2002");
  EXPECT_EQ(ctx->state.lastApiResult, 0);
  ctx->state.lastApiResult = 99;
  EXPECT_EQ(core::ReadReg(*ctx, "LM", key, "PID"), "");
  EXPECT_EQ(ctx->state.lastApiResult, 0);
  // A key that does not open leaves the result alone.
  ctx->state.lastApiResult = 99;
  EXPECT_EQ(core::ReadReg(*ctx, "CR", key, "EXE Path"), "");
  EXPECT_EQ(ctx->state.lastApiResult, 99);
  core::WriteReg(*ctx, "CR", "WinZip\\Shell\\Hangarpak\\command", "", "\"/opt/hangarpak\" \"%1\"");
  EXPECT_EQ(core::ReadReg(*ctx, "cr", "winzip\\shell\\hangarpak\\COMMAND", ""), "\"/opt/hangarpak\" \"%1\"");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(ProfileContextTest, RegistryFailuresShowTheirNumberAndEndTheProgram) {
  // The store's folder is a file: nothing can be read or written there.
  testsupport::writeHostFile(tmp.path() + "/config/hangarpak", "not a folder");
  dialogs.expectMessage("ReadReg error 76", "Error", core::Buttons::OK, core::Icon::Exclamation);
  EXPECT_THROW(core::ReadReg(*ctx, "LM", "SOFTWARE\\x", "v"), core::EndProgram);
  dialogs.expectMessage("", "Error", core::Buttons::OK, core::Icon::Exclamation);
  EXPECT_THROW(core::WriteReg(*ctx, "LM", "SOFTWARE\\x", "v", "1"), core::EndProgram);
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[1].text.rfind("WriteReg error ", 0), 0u);
  EXPECT_TRUE(dialogs.done());
}

}  // namespace
