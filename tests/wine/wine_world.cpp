#include "wine/wine_world.h"

#include <filesystem>
#include <memory>

#include "core/process.h"
#include "support/built_paths.h"

namespace testsupport {

namespace fsys = std::filesystem;

int WineWorld::run(std::vector<std::string> argv) {
  core::ProcessRequest request;
  request.argv = std::move(argv);
  request.workingFolder = tmp.path();
  return core::makePosixProcessLauncher(wineEnv)->runAndWait(request, {});
}

int WineWorld::reg(std::vector<std::string> args) {
  args.insert(args.begin(), {"wine", "reg"});
  return run(args);
}

WineWorld::WineWorld() {
  if (windowsSceneryInstaller().empty() || windowsConverter().empty()) {
    skip = "the Windows cross-compiler x86_64-w64-mingw32-gcc was not found at build time";
    return;
  }
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
  fsys::copy_file(windowsSceneryInstaller(), driveC + "/Program Files/Ortholay/Ortholay.exe");
  fsys::copy_file(windowsConverter(), driveC + "/Program Files/Microsoft Games/FS2000/aafconv.exe");
}

WineWorld::~WineWorld() {
  if (booted) run({"wineserver", "-k"});
}

namespace {

std::unique_ptr<WineWorld> theWorld;

// Ends the prefix after the last test of the run.
class WineEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { theWorld.reset(); }
};

[[maybe_unused]] ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new WineEnvironment);

}  // namespace

WineWorld& wineWorld() {
  if (!theWorld) theWorld = std::make_unique<WineWorld>();
  return *theWorld;
}

void WinePrefixTest::SetUp() {
  if (!world().skip.empty()) GTEST_SKIP() << world().skip;
}

}  // namespace testsupport
