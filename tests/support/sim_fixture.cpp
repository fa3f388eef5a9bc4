#include "support/sim_fixture.h"

#include <filesystem>

#include "core/locations.h"

namespace testsupport {

namespace fsys = std::filesystem;

SimFixture::SimFixture() : root(tmp.path()) {
  env.set("HOME", root + "/home");
  env.set("XDG_CONFIG_HOME", root + "/config");
  env.set("XDG_DATA_HOME", root + "/data");
  env.set("HANGARPAK_HOME", root + "/app");
  env.set("PATH", "/usr/local/bin:/usr/bin:/bin");
  env.set("HANGARPAK_DRIVES", "c=" + root + "/c;z=" + root);
  fsys::create_directories(root + "/c");
  fsys::create_directories(root + "/home");
  fsys::create_directories(root + "/app");

  auto locations = core::Locations::fromEnvironment(env, root + "/bin/hangarpak");
  drives.set('c', root + "/c", "test");
  drives.set('z', root, "test");
  fs = core::makeHostFileSystem(drives);
  settings = std::make_unique<core::IniSettingsStore>(locations.configHome);
  registry = std::make_unique<core::IniRegistryStore>(locations.registryFile);
  launcher = core::makePosixProcessLauncher(env);
  ctx_ =
      std::make_unique<core::Context>(env, locations, drives, *fs, *settings, *registry, *launcher, dialogs, printer);
}

SimFixture::~SimFixture() = default;

std::unique_ptr<core::Context> SimFixture::contextWith(core::FileSystem* otherFs, core::ProcessLauncher* otherLauncher,
                                                       core::Printer* otherPrinter) {
  auto out = std::make_unique<core::Context>(env, ctx_->locations, drives, otherFs ? *otherFs : *fs, *settings,
                                             *registry, otherLauncher ? *otherLauncher : *launcher, dialogs,
                                             otherPrinter ? *otherPrinter : static_cast<core::Printer&>(printer));
  out->state = ctx_->state;
  return out;
}

std::string SimFixture::host(std::string_view windowsPath) const {
  return drives.toHost(windowsPath);
}

void SimFixture::writeFile(std::string_view windowsPath, std::string_view bytes) {
  writeHostFile(host(windowsPath), bytes);
}

std::string SimFixture::readFile(std::string_view windowsPath) const {
  return readHostFile(host(windowsPath));
}

bool SimFixture::exists(std::string_view windowsPath) const {
  return hostExists(host(windowsPath));
}

std::string SimFixture::putArchive(const std::string& name, const ArchiveBuilder& archive) const {
  archive.writeTo(host("C:\\Downloads\\" + name));
  return "C:\\Downloads\\" + name;
}

std::string SimFixture::simulatorKey(int version) {
  return std::string("SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\") + (version == 61   ? "6.1"
                                                                                    : version == 70 ? "7.0"
                                                                                                    : "8.0");
}

void SimFixture::makeSimulator(int version, std::string folder) {
  const std::string sim = "C:\\" + folder;
  const char* exe = version == 61 ? "fltsim98.exe" : version == 70 ? "fs2000.exe" : "fs2002.exe";
  writeFile(sim + "\\" + exe);
  for (const char* sub : {"Aircraft", "Gauges", "Sound", "Texture", "Adv", "Situatio", "Scenery"})
    fsys::create_directories(host(sim + "\\" + sub));
  state().simFolder = sim;
  state().simVersion = static_cast<std::int16_t>(version);
  const std::string key = simulatorKey(version);
  registry->setValue(core::Hive::LocalMachine, key, version == 61 ? "ProductID" : "PID", "12345");
  registry->setValue(core::Hive::LocalMachine, key, version == 80 ? "EXE Path" : "Path", sim);
}

}  // namespace testsupport
