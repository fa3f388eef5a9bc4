#pragma once

// What the benchmark programs share: a program context over a temporary
// folder, the process's memory figures and the ratios of their summary.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/fs.h"
#include "core/locations.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "ratio_reporter.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace bench {

// Drive C: is <root>/c and drive Z: is <root>; HOME, the stores and the
// application folder lie below <root>. Flight Simulator 2002 is registered
// at C:\FS2002 with its executable and the folders an installation fills.
struct World {
  World() : root(tmp.path()) {
    env.set("HOME", root + "/home");
    env.set("XDG_CONFIG_HOME", root + "/config");
    env.set("XDG_DATA_HOME", root + "/data");
    env.set("HANGARPAK_HOME", root + "/app");
    for (const char* f : {"/home", "/data", "/app", "/c/FS2002/Aircraft", "/c/FS2002/Gauges", "/c/FS2002/Sound"})
      std::filesystem::create_directories(root + f);
    testsupport::writeHostFile(root + "/c/FS2002/fs2002.exe", "exe");
    drives.set('c', root + "/c", "bench");
    drives.set('z', root, "bench");
    const auto locations = core::Locations::fromEnvironment(env, root + "/bin/hangarpak");
    fs = core::makeHostFileSystem(drives);
    settings = std::make_unique<core::IniSettingsStore>(locations.configHome);
    registry = std::make_unique<core::IniRegistryStore>(locations.registryFile);
    const char* key = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
    registry->setValue(core::Hive::LocalMachine, key, "PID", "12345");
    registry->setValue(core::Hive::LocalMachine, key, "EXE Path", "C:\\FS2002");
    launcher = core::makePosixProcessLauncher(env);
    ctx =
        std::make_unique<core::Context>(env, locations, drives, *fs, *settings, *registry, *launcher, dialogs, printer);
    ctx->state.simFolder = "C:\\FS2002";
    ctx->state.simVersion = 80;
  }

  testsupport::TempDir tmp;
  std::string root;
  core::Environment env;
  core::DriveTable drives;
  std::unique_ptr<core::FileSystem> fs;
  std::unique_ptr<core::IniSettingsStore> settings;
  std::unique_ptr<core::IniRegistryStore> registry;
  std::unique_ptr<core::ProcessLauncher> launcher;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingPrinter printer;
  std::unique_ptr<core::Context> ctx;
};

// The process's peak resident memory so far, in KiB.
inline long peakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A figure of /proc/self/status in kB ("VmRSS:", "VmHWM:").
inline long statusKb(const std::string& key) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  return 0;
}

}  // namespace bench
