// Installing aircraft archives through the program's install command,
// against extracting them with unzip -j -o -q into an empty folder, both in
// this one run: the large archive (about 1,000 members, 200 MB) and one of
// 70,000 small textures. The install's peak memory above the process's idle
// size is reported as a counter.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "bench_world.h"
#include "install/install_command.h"
#include "jumbo_archive.h"
#include "run_program.h"

namespace {

namespace fsys = std::filesystem;

constexpr int kManyTextures = 70000;

struct Archive {
  std::string label;     // for the benchmark names
  std::string windows;   // the archive's path for the program
  std::string host;      // and for unzip
  std::string aircraft;  // the folder the installation makes, below Aircraft
  std::function<void(const std::string&)> build;
  bool built = false;
};

// The bench world with the archives beside it, each built when a benchmark
// first needs it.
struct World : bench::World {
  World()
      : jumbo{"1000 members 200 MB", "Z:\\Jumbo.zip", root + "/Jumbo.zip", "jumbo", bench::buildJumboArchive},
        many{std::to_string(kManyTextures) + " small members", "Z:\\Many.zip", root + "/Many.zip", "many",
             [](const std::string& host) { bench::buildManyTexturesArchive(host, kManyTextures); }} {}

  // Removes what an earlier run put down and waits for the disk to take
  // it, so that no run pays for the one before.
  void clean(Archive& a) {
    if (!a.built) a.build(a.host);
    a.built = true;
    fsys::remove_all(root + "/c/FS2002/Aircraft/" + a.aircraft);
    fsys::remove_all(root + "/unzipped");
    ::sync();
  }

  void install(const Archive& a) {
    if (!install::RunInstallCommand(*ctx, {a.windows}).allInstalled())
      throw std::runtime_error(a.windows + " was not installed");
  }

  void unzip(const Archive& a) {
    fsys::create_directories(root + "/unzipped");
    bench::runProgram({"unzip", "-j", "-o", "-q", a.host, "-d", root + "/unzipped"});
  }

  Archive jumbo, many;
};

// Peak memory of one install above the idle size, in MB.
double peakAboveIdleMB(World& w, Archive& a) {
  w.clean(a);
  const long idleKb = bench::statusKb("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
  w.install(a);
  return static_cast<double>(bench::statusKb("VmHWM:") - idleKb) / 1024.0;
}

void add(World& w, Archive& a, bool program, int iterations) {
  const std::string name = (program ? "InstallArchive/" : "Unzip/") + a.label;
  benchmark::RegisterBenchmark(name.c_str(),
                               [&w, &a, program](benchmark::State& s) {
                                 // Measured first, so that the timing runs do not mix in.
                                 const double peak = program ? peakAboveIdleMB(w, a) : 0;
                                 double cpu = 0;
                                 for (auto _ : s) {
                                   s.PauseTiming();
                                   w.clean(a);
                                   s.ResumeTiming();
                                   bench::countCpu(cpu, [&] { program ? w.install(a) : w.unzip(a); });
                                 }
                                 // The next benchmark starts on the same tree.
                                 w.clean(a);
                                 bench::reportCpu(s, cpu);
                                 if (program) s.counters["peak_above_idle_MB"] = peak;
                               })
      ->Iterations(iterations)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  World world;
  for (bool program : {true, false}) add(world, world.jumbo, program, 3);
  for (bool program : {true, false}) add(world, world.many, program, 2);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Archive* a : {&world.jumbo, &world.many})
    reporter.printRatio("install of " + a->label + " against unzip -j -o", "InstallArchive/" + a->label,
                        "Unzip/" + a->label);
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
