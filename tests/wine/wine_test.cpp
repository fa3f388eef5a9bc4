// The program against real Wine, in the prefix of wine_world.h.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "app/cli.h"
#include "app/runtime.h"
#include "core/process.h"
#include "core/simulator.h"
#include "support/archive_builder.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "wine/wine_world.h"

namespace {

namespace fsys = std::filesystem;
using testsupport::readHostFile;
using testsupport::writeHostFile;

constexpr const char* kFs2002 = "C:\\Program Files\\Microsoft Games\\FS2002";

class WineTest : public testsupport::WinePrefixTest {
 protected:
  void SetUp() override {
    WinePrefixTest::SetUp();
    if (IsSkipped()) return;
    // A user who never ran the program: empty settings and registry store.
    const std::string own = world().tmp.path() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    env.set("PATH", world().wineEnv.getOr("PATH", ""));
    env.set("HOME", world().home);
    env.set("XDG_CONFIG_HOME", own + "/config");
    env.set("XDG_DATA_HOME", own + "/data");
    env.set("HANGARPAK_HOME", own + "/app");
    env.set("WINEDEBUG", "-all");
    downloads = own + "/downloads";
  }

  // hangarpak-cli with the version chosen in the first-run options dialog.
  std::string cli(std::vector<std::string> args, int version) {
    std::ostringstream out, err;
    writeHostFile(env.getOr("XDG_CONFIG_HOME", "") + "/Hangarpak/settings.ini",
                  "[Options]\r\nFS Version=" + std::to_string(version) + "\r\n");
    EXPECT_EQ(app::runCli(args, out, err, env, world().tmp.path() + "/bin/hangarpak-cli"), 0) << err.str();
    // The count is the last line; messages before it are the program's own.
    std::string text = out.str();
    const auto last = text.rfind('\n', text.size() >= 2 ? text.size() - 2 : 0);
    return last == std::string::npos ? text : text.substr(last + 1);
  }
  std::string fs2002(const std::string& below) const {
    return world().driveC + "/Program Files/Microsoft Games/FS2002/" + below;
  }

  core::Environment env;
  std::string downloads;
};

TEST_F(WineTest, DetectionFindsTheSimulatorWithNoPrompt) {
  testsupport::ScriptedDialogs dialogs;  // any prompt fails the test
  testsupport::RecordingPrinter printer;
  app::Runtime runtime(env, world().tmp.path() + "/bin/hangarpak", dialogs, printer);
  core::Context& ctx = runtime.context();
  EXPECT_TRUE(core::SimulatorRegistered(ctx, 80));
  EXPECT_TRUE(core::SimulatorRegistered(ctx, 70));
  EXPECT_FALSE(core::SimulatorRegistered(ctx, 61));
  ctx.state.simVersion = 80;
  core::FindSimulator(ctx);
  EXPECT_EQ(ctx.state.simFolder, kFs2002);
  EXPECT_EQ(ctx.drives.toHost(ctx.state.simFolder + "\\fs2002.exe"), fsys::canonical(fs2002("FS2002.EXE")).string());
  EXPECT_FALSE(fsys::exists(runtime.ownRegistry().file()));  // nothing located by hand
}

TEST_F(WineTest, AnAircraftArchiveInstallsIntoThePrefix) {
  testsupport::ArchiveBuilder()
      .add("hopper/aircraft.cfg", "[fltsim.0]\r\ntitle=Sky Hopper\r\nsim=hopper\r\n")
      .add("hopper/hopper.air", std::string(900, 'A'))
      .writeTo(downloads + "/hopper.zip");
  EXPECT_EQ(cli({"install", "--yes", downloads + "/hopper.zip"}, 80), "1/1 file(s) successfully installed.\n");
  std::vector<std::string> placed;
  for (const auto& e : fsys::recursive_directory_iterator(fs2002("Aircraft")))
    if (e.path().filename() == "hopper.air") placed.push_back(readHostFile(e.path().string()));
  EXPECT_EQ(placed, std::vector<std::string>{std::string(900, 'A')});
}

TEST_F(WineTest, AScenePackageGoesToTheWindowsInstallerThroughItsRegistry) {
  writeHostFile(downloads + "/Alps Scenery.sif", "SIF alps\r\nmore");
  EXPECT_EQ(cli({"install", downloads + "/Alps Scenery.sif"}, 80), "1/1 file(s) successfully installed.\n");
  const std::string log = readHostFile(world().driveC + "/Program Files/Ortholay/ortholay.log");
  EXPECT_EQ(log, "QX Start=" + testsupport::windowsPath(downloads + "/Alps Scenery.sif") + "|bytes=14|text=SIF alps\n");
}

TEST_F(WineTest, TheWindowsConverterFindsTheAirFileThroughItsConfiguration) {
  testsupport::ArchiveBuilder().add("oldie/oldie.air", std::string(20000, 'F')).writeTo(downloads + "/oldie.zip");
  EXPECT_EQ(cli({"install", "--yes", downloads + "/oldie.zip"}, 70), "1/1 file(s) successfully installed.\n");
  const std::string fs2000 = world().driveC + "/Program Files/Microsoft Games/FS2000/";
  EXPECT_EQ(readHostFile(fs2000 + "Aircraft/oldie/oldie.air").size(), 20000u);
  EXPECT_EQ(readHostFile(fs2000 + "aafconv.log"),
            "aircraft=" + testsupport::windowsPath(env.getOr("HANGARPAK_HOME", "") + "/TempZip/") + "|air=oldie.air\n");
}

}  // namespace
