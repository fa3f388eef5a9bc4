// The program against real Wine: one prefix for the whole run, made by
// wineboot in a temporary home, with FS2002 and FS2000 registered the way
// their 32-bit setups do it and Windows stand-ins for the scenery installer
// and the converter. Nothing is set up on the program's side: HOME points at
// the temporary home, whose .wine is the prefix.

#include <gtest/gtest.h>

#include <algorithm>
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

namespace {

namespace fsys = std::filesystem;
using testsupport::readHostFile;
using testsupport::writeHostFile;

constexpr const char* kFs2002 = "C:\\Program Files\\Microsoft Games\\FS2002";

struct WineWorld {
  testsupport::TempDir tmp;
  std::string home = tmp.path() + "/home";
  std::string prefix = home + "/.wine";
  std::string driveC = prefix + "/drive_c";
  core::Environment wineEnv;
  std::string skip;
  bool booted = false;

  int run(std::vector<std::string> argv) {
    core::ProcessRequest request;
    request.argv = std::move(argv);
    request.workingFolder = tmp.path();
    return core::makePosixProcessLauncher(wineEnv)->runAndWait(request, {});
  }
  int reg(std::vector<std::string> args) {
    args.insert(args.begin(), {"wine", "reg"});
    return run(args);
  }

  WineWorld() {
#if !defined(HANGARPAK_WIN_ORTHOLAY) || !defined(HANGARPAK_WIN_CONVERTER)
    skip = "the Windows cross-compiler x86_64-w64-mingw32-gcc was not found at build time";
    return;
#else
    const auto process = core::Environment::fromProcess();
    wineEnv.set("PATH", process.getOr("PATH", "/usr/bin:/bin"));
    if (!core::findOnPath(wineEnv, "wine") || !core::findOnPath(wineEnv, "wineboot")) {
      skip = "wine is not on the PATH";
      return;
    }
    wineEnv.set("HOME", home);
    wineEnv.set("WINEPREFIX", prefix);
    wineEnv.set("WINEDEBUG", "-all");
    wineEnv.set("WINEDLLOVERRIDES", "mscoree,mshtml=");  // nothing to download
    fsys::create_directories(home);
    // wineboot reports the 32-bit half of Wine missing as a failure; the
    // prefix is whole once the server has written it.
    booted = true;
    run({"wineboot", "-i"});
    run({"wineserver", "-w"});
    if (!fsys::exists(prefix + "/system.reg")) {
      skip = "wineboot could not make a prefix";
      return;
    }
    // As a 64-bit program would write it: the folder no 32-bit program sees.
    const std::string key = "HKLM\\Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
    reg({"add", key, "/v", "EXE Path", "/t", "REG_SZ", "/d", "C:\\Not Here", "/f"});
    // As the simulators' 32-bit setups write theirs.
    reg({"add", key, "/v", "PID", "/t", "REG_SZ", "/d", "51234-002", "/f", "/reg:32"});
    writeHostFile(driveC + "/setup.reg",
                  "Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0]\r\n"
                  "\"EXE Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\FS2002\"\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0]\r\n"
                  "\"Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\FS2000\"\r\n\"PID\"=\"70000\"\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Ortholay\\General]\r\n"
                  "\"App Path\"=\"C:\\\\Program Files\\\\Ortholay\\\\\"\r\n");
    reg({"import", "C:\\setup.reg", "/reg:32"});
    run({"wineserver", "-w"});  // the registry is on disk once the server is gone

    for (const char* sim : {"FS2002/FS2002.EXE", "FS2000/fs2000.exe"}) {
      const std::string folder = driveC + "/Program Files/Microsoft Games/" + std::string(sim).substr(0, 6);
      writeHostFile(folder + "/" + std::string(sim).substr(7), "MZ");
      for (const char* sub : {"Aircraft", "Gauges", "Sound", "Texture", "Scenery", "Adv"})
        fsys::create_directories(folder + "/" + sub);
    }
    fsys::create_directories(driveC + "/Program Files/Ortholay");
    fsys::copy_file(HANGARPAK_WIN_ORTHOLAY, driveC + "/Program Files/Ortholay/Ortholay.exe");
    fsys::copy_file(HANGARPAK_WIN_CONVERTER, driveC + "/Program Files/Microsoft Games/FS2000/aafconv.exe");
#endif
  }
  ~WineWorld() {
    if (booted) run({"wineserver", "-k"});
  }
};

class WineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { world = std::make_unique<WineWorld>(); }
  static void TearDownTestSuite() { world.reset(); }

  void SetUp() override {
    if (!world->skip.empty()) GTEST_SKIP() << world->skip;
    // A user who never ran the program: empty settings and registry store.
    const std::string own = world->tmp.path() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    env.set("PATH", world->wineEnv.getOr("PATH", ""));
    env.set("HOME", world->home);
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
    EXPECT_EQ(app::runCli(args, out, err, env, world->tmp.path() + "/bin/hangarpak-cli"), 0) << err.str();
    // The count is the last line; messages before it are the program's own.
    std::string text = out.str();
    const auto last = text.rfind('\n', text.size() >= 2 ? text.size() - 2 : 0);
    return last == std::string::npos ? text : text.substr(last + 1);
  }
  std::string fs2002(const std::string& below) const {
    return world->driveC + "/Program Files/Microsoft Games/FS2002/" + below;
  }

  static std::unique_ptr<WineWorld> world;
  core::Environment env;
  std::string downloads;
};

std::unique_ptr<WineWorld> WineTest::world;

TEST_F(WineTest, DetectionFindsTheSimulatorWithNoPrompt) {
  testsupport::ScriptedDialogs dialogs;  // any prompt fails the test
  testsupport::RecordingPrinter printer;
  app::Runtime runtime(env, world->tmp.path() + "/bin/hangarpak", dialogs, printer);
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
  const std::string log = readHostFile(world->driveC + "/Program Files/Ortholay/ortholay.log");
  std::string expected = "Z:" + downloads + "/Alps Scenery.sif";
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(log, "QX Start=" + expected + "|bytes=14|text=SIF alps\n");
}

TEST_F(WineTest, TheWindowsConverterFindsTheAirFileThroughItsConfiguration) {
  testsupport::ArchiveBuilder().add("oldie/oldie.air", std::string(20000, 'F')).writeTo(downloads + "/oldie.zip");
  EXPECT_EQ(cli({"install", "--yes", downloads + "/oldie.zip"}, 70), "1/1 file(s) successfully installed.\n");
  const std::string fs2000 = world->driveC + "/Program Files/Microsoft Games/FS2000/";
  EXPECT_EQ(readHostFile(fs2000 + "Aircraft/oldie/oldie.air").size(), 20000u);
  std::string input = "Z:" + env.getOr("HANGARPAK_HOME", "") + "/TempZip/";
  std::replace(input.begin(), input.end(), '/', '\\');
  EXPECT_EQ(readHostFile(fs2000 + "aafconv.log"), "aircraft=" + input + "|air=oldie.air\n");
}

}  // namespace
