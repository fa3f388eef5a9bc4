// Installing aircraft archives through the program's install command, with
// the install journal and the record of writes in progress as both programs
// have them, against extracting them with unzip -j -o -q into an empty
// folder, both in this one run: the large archive (about 1,000 members,
// 200 MB) and one of 70,000 small textures (HANGARPAK_BENCH_TEXTURES gives
// another number, for a profiler's run). The install's peak memory above the
// process's idle size is a counter and a line of the summary. The plan of
// installing the archive of small textures (install --dry-run) is measured
// in the same rounds, against the installation itself, since a person
// previews before installing.
//
// Each round writes into a tree of its own made before the clock starts (a
// new simulator folder for the program, a new folder for unzip), and the
// trees stay until the program ends: an ext4 file system without a journal
// looks past every inode freed in the last minutes for each new file, a
// cost the round after a deletion would pay for it. The rounds of the two
// sides are taken in turn, so that both meet what other work on the disk
// freed alike, and each side goes first in every other pair: the inodes an
// earlier run or other work freed shortly before are met most by the side
// that allocates first (with 20,000 textures, the side that went first,
// whichever it was, spent 1.4 to 1.6 times the processor time per file of
// the side after it in the kernel's search past freed inodes).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "bench_world.h"
#include "core/temp_folders.h"
#include "core/writes_in_progress.h"
#include "install/install_command.h"
#include "journal/recording_services.h"
#include "jumbo_archive.h"
#include "plan/planner.h"
#include "run_program.h"

namespace {

namespace fsys = std::filesystem;

int manyTextures() {
  const char* given = std::getenv("HANGARPAK_BENCH_TEXTURES");
  return given && std::atoi(given) > 0 ? std::atoi(given) : 70000;
}

struct Archive {
  std::string label;    // for the benchmark names
  std::string windows;  // the archive's path for the program
  std::string host;     // and for unzip
  std::function<void(const std::string&)> build;
  bool built = false;
  double peakMB = 0;  // above the idle size
};

// The bench world with the archives beside it, each built when a benchmark
// first needs it, and a context that installs as the programs do: through
// the journal's services, its writes recorded in progress.
struct World : bench::World {
  World()
      : writes(ctx->locations.appFolder),
        hostFs(core::makeHostFileSystem(drives, &writes)),
        journalling(ctx->locations.appFolder, *hostFs, *settings, *registry, *launcher),
        journalled(env, ctx->locations, drives, journalling.fs, journalling.settings, journalling.registry,
                   journalling.launcher, dialogs, printer),
        jumbo{"1000 members 200 MB", "Z:\\Jumbo.zip", root + "/Jumbo.zip", bench::buildJumboArchive},
        many{std::to_string(manyTextures()) + " small members", "Z:\\Many.zip", root + "/Many.zip",
             [](const std::string& host) { bench::buildManyTexturesArchive(host, manyTextures()); }} {
    journalled.state = ctx->state;
    journalling.recorder.attach(journalled);
  }

  // Makes the next round's trees: a simulator folder with what an
  // installation finds in one, where the program installs from now on, and
  // an empty folder for unzip; then waits for the disk to take what the
  // last round wrote, so that no round pays for the one before.
  void fresh(Archive& a) {
    if (!a.built) a.build(a.host);
    a.built = true;
    ++round;
    const std::string sim = "FS2002-" + std::to_string(round);
    for (const char* f : {"/Aircraft", "/Gauges", "/Sound"}) fsys::create_directories(root + "/c/" + sim + f);
    testsupport::writeHostFile(root + "/c/" + sim + "/fs2002.exe", "exe");
    journalled.state.simFolder = "C:\\" + sim;
    unzipped = root + "/unzipped-" + std::to_string(round);
    fsys::create_directories(unzipped);
    ::sync();
  }

  // As hangarpak-cli install does: the run, then TempZip emptied.
  void install(const Archive& a) {
    if (!install::RunInstallCommand(journalled, {a.windows}).allInstalled())
      throw std::runtime_error(a.windows + " was not installed");
    core::ClearTempZip(journalled);
  }

  // As hangarpak-cli install --dry-run does: the plan, TempZip emptied by
  // the planner.
  void plan(const Archive& a) {
    if (plan::PlanInstall(journalled, {a.windows}).installedCount != 1)
      throw std::runtime_error(a.windows + " would not be installed");
  }

  void unzip(const Archive& a) { bench::runProgram({"unzip", "-j", "-o", "-q", a.host, "-d", unzipped}); }

  core::WritesInProgress writes;
  std::unique_ptr<core::FileSystem> hostFs;
  journal::Journalling journalling;
  core::Context journalled;
  Archive jumbo, many;
  int round = 0;
  std::string unzipped;  // this round's folder for unzip
};

// Peak memory of one install above the idle size, in MB.
double peakAboveIdleMB(World& w, Archive& a) {
  w.fresh(a);
  const long idleKb = bench::statusKb("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
  w.install(a);
  return static_cast<double>(bench::statusKb("VmHWM:") - idleKb) / 1024.0;
}

enum class Side { Install, Unzip, DryRun };

const char* prefixOf(Side side) {
  switch (side) {
    case Side::Install:
      return "InstallArchive/";
    case Side::Unzip:
      return "Unzip/";
    case Side::DryRun:
      return "DryRun/";
  }
  return "";
}

// One round of the program, of its plan or of unzip. Their rounds are
// taken in turn, each side first in every other pair, so that both meet the
// disk in the same state.
void add(World& w, Archive& a, Side side, bool first) {
  const std::string name = prefixOf(side) + a.label;
  const bool program = side == Side::Install;
  benchmark::RegisterBenchmark(name.c_str(),
                               [&w, &a, side, program, first](benchmark::State& s) {
                                 // Measured first, so that the timing runs do not mix in.
                                 if (program && first) a.peakMB = peakAboveIdleMB(w, a);
                                 double cpu = 0;
                                 for (auto _ : s) {
                                   s.PauseTiming();
                                   w.fresh(a);
                                   s.ResumeTiming();
                                   bench::countCpu(cpu, [&] {
                                     if (side == Side::Install) w.install(a);
                                     if (side == Side::Unzip) w.unzip(a);
                                     if (side == Side::DryRun) w.plan(a);
                                   });
                                 }
                                 bench::reportCpu(s, cpu);
                                 if (program) s.counters["peak_above_idle_MB"] = a.peakMB;
                               })
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  World world;
  for (Archive* a : {&world.jumbo, &world.many})
    for (int round = 0; round < (a == &world.jumbo ? 3 : 2); ++round) {
      const Side first = round % 2 == 0 ? Side::Install : Side::Unzip;
      add(world, *a, first, round == 0);
      add(world, *a, first == Side::Install ? Side::Unzip : Side::Install, round == 0);
      if (a == &world.many) add(world, *a, Side::DryRun, round == 0);
    }
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Archive* a : {&world.jumbo, &world.many}) {
    reporter.printRatio("install of " + a->label + " against unzip -j -o", "InstallArchive/" + a->label,
                        "Unzip/" + a->label);
    if (a == &world.many)
      reporter.printRatio("dry run of " + a->label + " against its install", "DryRun/" + a->label,
                          "InstallArchive/" + a->label);
    if (a->peakMB > 0) std::printf("install of %s: peak memory %.1f MB above idle\n", a->label.c_str(), a->peakMB);
  }
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
