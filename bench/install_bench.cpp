// Installing one large aircraft archive (about 1,000 members, 200 MB:
// textures, one .air, panel bitmaps, wave files) through the program's
// install command, against what a shell user would do by hand: unzip -j -o
// -q into an empty folder, then copy the files out. Both run in this one
// process so the ratio compares like with like; the install's peak memory
// above the process's idle size is reported as a counter.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "bench_world.h"
#include "install/install_command.h"
#include "jumbo_archive.h"
#include "support/archive_builder.h"

extern char** environ;

namespace {

namespace fsys = std::filesystem;

// The bench world with the archive beside it.
struct World : bench::World {
  World() : archive(root + "/Jumbo.zip") { bench::buildJumboArchive(archive); }

  void clean() {
    fsys::remove_all(root + "/c/FS2002/Aircraft/jumbo");
    fsys::remove_all(root + "/unzipped");
    fsys::remove_all(root + "/copied");
  }

  std::string archive;
};

void installOnce(World& w) {
  const auto run = install::RunInstallCommand(*w.ctx, {"Z:\\Jumbo.zip"});
  if (!run.allInstalled()) throw std::runtime_error("the archive was not installed");
}

void unzipAndCopyOnce(World& w) {
  fsys::create_directories(w.root + "/unzipped");
  fsys::create_directories(w.root + "/copied");
  std::vector<std::string> args = {"unzip", "-j", "-o", "-q", w.archive, "-d", w.root + "/unzipped"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "unzip", nullptr, nullptr, argv.data(), environ) != 0) throw std::runtime_error("no unzip");
  int status = 0;
  waitpid(pid, &status, 0);
  for (const auto& e : fsys::directory_iterator(w.root + "/unzipped"))
    fsys::copy_file(e.path(), w.root + "/copied/" + e.path().filename().string(),
                    fsys::copy_options::overwrite_existing);
}

template <class F>
void timed(benchmark::State& state, World& w, F once, double& total) {
  for (auto _ : state) {
    state.PauseTiming();
    w.clean();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    once(w);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  World world;
  double installSeconds = 0, unzipSeconds = 0;
  constexpr int kIterations = 3;

  // Peak memory of one install above the idle size, measured first so the
  // timing runs do not mix in.
  world.clean();
  const long idleKb = bench::statusKb("VmRSS:");
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
  installOnce(world);
  const long peakKb = bench::statusKb("VmHWM:");

  benchmark::RegisterBenchmark("InstallArchive/1000 members 200 MB",
                               [&](benchmark::State& s) {
                                 timed(s, world, installOnce, installSeconds);
                                 s.counters["peak_above_idle_MB"] = static_cast<double>(peakKb - idleKb) / 1024.0;
                               })
      ->Iterations(kIterations)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("UnzipJunkPathsThenCopy/same archive",
                               [&](benchmark::State& s) { timed(s, world, unzipAndCopyOnce, unzipSeconds); })
      ->Iterations(kIterations)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (unzipSeconds > 0)
    std::cout << "install / (unzip + copy) = " << installSeconds / unzipSeconds
              << "; install peak memory above idle = " << static_cast<double>(peakKb - idleKb) / 1024.0 << " MB\n";
  return 0;
}
