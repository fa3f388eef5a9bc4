// Rebuilding the catalogue (Search) over a generated aircraft folder of
// 2,000 aircraft folders with 5 variants, a panel and a sound set each
// (10,000 aircraft rows): each configuration file parsed once, against the
// same walk with one profile read per key. Both run in one process; the
// ratio and the peak memory are printed after the benchmark table.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "core/context.h"
#include "core/fs.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "manager/catalogue.h"
#include "support/aircraft_tree.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace {

constexpr int kFolders = 2000;
constexpr int kVariants = 5;

long peakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A context over a temporary drive C: with a simulator at C:\FS2002 and the
// generated tree in its aircraft folder.
struct World {
  World() {
    root = tmp.path();
    std::filesystem::create_directories(root + "/c/FS2002/Aircraft");
    testsupport::writeHostFile(root + "/c/FS2002/fs2002.exe", "");
    testsupport::writeAircraftTree(root + "/c/FS2002/Aircraft", kFolders, kVariants);
    drives.set('c', root + "/c", "bench");
    drives.set('z', root, "bench");
    fs = core::makeHostFileSystem(drives);
    core::Locations locations;
    locations.appFolder = root;
    locations.configHome = root + "/config";
    locations.registryFile = root + "/config/registry.ini";
    settings = std::make_unique<core::IniSettingsStore>(locations.configHome);
    registry = std::make_unique<core::IniRegistryStore>(locations.registryFile);
    launcher = core::makePosixProcessLauncher(env);
    ctx =
        std::make_unique<core::Context>(env, locations, drives, *fs, *settings, *registry, *launcher, dialogs, printer);
    ctx->state.simFolder = "C:\\FS2002";
    ctx->state.simVersion = 80;
    catalogue = std::make_unique<manager::Catalogue>(*ctx);
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
  std::unique_ptr<manager::Catalogue> catalogue;
};

World& world() {
  static World w;  // one tree for both benchmarks
  return w;
}

// Peak memory seen around each kind of rebuild.
std::map<std::string, long>& peaks() {
  static std::map<std::string, long> p;
  return p;
}

void runSearch(benchmark::State& state, manager::ProfileReads reads, const char* name) {
  World& w = world();
  for (auto _ : state) {
    w.catalogue->Search(reads);
    benchmark::DoNotOptimize(w.catalogue->flyLst.count());
  }
  if (w.catalogue->flyLst.count() != kFolders * kVariants || w.catalogue->panelLst.count() != kFolders ||
      w.catalogue->lydLst.count() != kFolders)
    state.SkipWithError("the catalogue is not complete");
  state.counters["rows"] = w.catalogue->flyLst.count();
  peaks()[name] = peakRssKiB();
}

void BM_SearchParseOnce(benchmark::State& state) {
  runSearch(state, manager::ProfileReads::OncePerFile, "parse once");
}
void BM_SearchKeyByKey(benchmark::State& state) {
  runSearch(state, manager::ProfileReads::KeyByKey, "key by key");
}

BENCHMARK(BM_SearchParseOnce)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SearchKeyByKey)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps each benchmark's mean real time for the closing summary.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const long before = peakRssKiB();
  world();
  std::printf("tree of %d folders x %d variants generated; peak memory %ld KiB before any rebuild\n", kFolders,
              kVariants, before);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto once = reporter.times.find("BM_SearchParseOnce/min_time:2.000");
  const auto keyed = reporter.times.find("BM_SearchKeyByKey/min_time:2.000");
  if (once != reporter.times.end() && keyed != reporter.times.end())
    std::printf("parse once %.1f ms, key by key %.1f ms: %.1f times faster\n", once->second, keyed->second,
                keyed->second / once->second);
  for (const auto& [name, kib] : peaks()) std::printf("peak memory after %s: %ld KiB\n", name.c_str(), kib);
  benchmark::Shutdown();
  return 0;
}
