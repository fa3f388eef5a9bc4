// The command-line tool on large simulators, each command against the
// least that any program doing its work must cost, all run as processes in
// this one run:
//   list aircraft of 10,000 and 30,000 variants against reading the bytes
//     of every .cfg of the aircraft folder (find ... -exec cat);
//   scan aircraft of 10,000 variants against du -s of the aircraft folder;
//   cfg get of a key in the last section of a 100 MB file against cat.
// The generated aircraft have five variants each, with a panel and a sound
// set of their own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ratio_reporter.h"
#include "run_program.h"
#include "support/aircraft_tree.h"
#include "support/built_paths.h"
#include "support/temp_dir.h"

namespace {

constexpr int kVariantsPerFolder = 5;
constexpr int kBigCfgSections = 23000;  // about 102 MB

// A simulator of the given number of variants, registered and set in the
// stores of its own home, and the environment hangarpak-cli runs in there.
class Simulator {
 public:
  explicit Simulator(int variants) : root_(tmp_.path()), aircraft_(root_ + "/c/FS2002/Aircraft") {
    testsupport::writeAircraftTree(aircraft_, variants / kVariantsPerFolder, kVariantsPerFolder);
    testsupport::writeHostFile(root_ + "/c/FS2002/fs2002.exe", "MZ");
    testsupport::writeHostFile(root_ + "/config/Hangarpak/settings.ini",
                               "[Main]\r\nFS Path=C:\\FS2002\r\n[Options]\r\nFS Version=80\r\nRunOnce=1\r\n");
    testsupport::writeHostFile(root_ + "/config/hangarpak/registry.ini",
                               "[LM\\SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0]\r\nPID=12345\r\n"
                               "EXE Path=C:\\FS2002\r\n");
    env_ = {"PATH=/usr/bin:/bin",
            "HOME=" + root_ + "/home",
            "XDG_CONFIG_HOME=" + root_ + "/config",
            "XDG_DATA_HOME=" + root_ + "/data",
            "HANGARPAK_HOME=" + root_ + "/app",
            "HANGARPAK_DRIVES=c=" + root_ + "/c;z=" + root_,
            "WINEPREFIX=" + root_ + "/noprefix"};
  }

  void cli(std::vector<std::string> args, int highestStatus = 0) const {
    args.insert(args.begin(), testsupport::cliProgram());
    bench::runProgram(args, &env_, highestStatus);
  }
  const std::string& root() const { return root_; }
  const std::string& aircraft() const { return aircraft_; }

 private:
  testsupport::TempDir tmp_;
  std::string root_;
  std::string aircraft_;
  std::vector<std::string> env_;
};

// 23,000 sections of 50 lines, CR LF, as a huge aircraft.cfg would be; its
// size in MB, for the benchmark's name.
std::string writeBigCfg(const std::string& hostPath) {
  std::string bytes;
  for (int s = 0; s < kBigCfgSections; ++s) {
    bytes += "[fltsim." + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 49; ++k)
      bytes += "key" + std::to_string(k) + " = value of key " + std::to_string(k) + " in section " + std::to_string(s) +
               ", some text to make the line as long as real ones\r\n";
  }
  testsupport::writeHostFile(hostPath, bytes);
  return std::to_string(bytes.size() / 1000000) + " MB";
}

template <class Work>
void add(const std::string& name, int iterations, Work work) {
  benchmark::RegisterBenchmark(name.c_str(),
                               [work](benchmark::State& s) {
                                 double cpu = 0;
                                 for (auto _ : s) bench::countCpu(cpu, work);
                                 bench::reportCpu(s, cpu);
                               })
      ->Iterations(iterations)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<std::unique_ptr<Simulator>> sims;
  for (int variants : {10000, 30000}) {
    sims.push_back(std::make_unique<Simulator>(variants));
    const Simulator& sim = *sims.back();
    const std::string size = std::to_string(variants);
    add("ListAircraft/" + size, variants > 10000 ? 2 : 3, [&sim] { sim.cli({"list", "aircraft"}); });
    add("ReadEveryCfg/" + size, 3, [&sim] {
      bench::runProgram({"find", sim.aircraft(), "-name", "*.cfg", "-exec", "cat", "{}", "+"});
    });
  }
  const Simulator& sim = *sims.front();
  add("ScanAircraft/10000", 3, [&sim] { sim.cli({"scan", "aircraft"}, 1); });  // 1: missing files found
  add("DuS/10000", 3, [&sim] { bench::runProgram({"du", "-s", sim.aircraft()}); });
  const std::string big = sim.root() + "/big/aircraft.cfg";
  const std::string megabytes = writeBigCfg(big);
  const std::string last = "fltsim." + std::to_string(kBigCfgSections - 1);
  add("CfgGet/" + megabytes, 5, [&sim, big, last] { sim.cli({"cfg", "get", big, last, "key48"}); });
  add("Cat/" + megabytes, 5, [big] { bench::runProgram({"cat", big}); });

  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* size : {"10000", "30000"})
    reporter.printRatio(std::string("list aircraft of ") + size + " variants against reading every .cfg",
                        std::string("ListAircraft/") + size, std::string("ReadEveryCfg/") + size);
  reporter.printRatio("list aircraft of 30000 variants against 10000", "ListAircraft/30000", "ListAircraft/10000");
  reporter.printRatio("scan aircraft of 10000 variants against du -s", "ScanAircraft/10000", "DuS/10000");
  reporter.printRatio("cfg get of a " + megabytes + " file against cat", "CfgGet/" + megabytes, "Cat/" + megabytes);
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
