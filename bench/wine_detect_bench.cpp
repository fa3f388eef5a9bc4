// Detection over Wine prefixes of real size: a system.reg of about 2 MB
// shaped like the one wineboot writes (class and interface keys by the
// thousand, the simulator's key near the end, under Wow6432Node), and a
// second prefix without any simulator. Side by side: the look-up detection
// does (find the prefixes, then the version's marker and folder), reading
// only the lines of the keys asked for, against parsing the whole file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "core/environment.h"
#include "core/simulator.h"
#include "core/wine_prefix.h"
#include "core/wine_reg.h"
#include "ratio_reporter.h"
#include "support/fake_prefix.h"
#include "support/temp_dir.h"

namespace {

// Keys in the order and shape wineboot gives them, about 2 MB in all.
std::string winebootLikeKeys() {
  std::string text;
  char line[512];
  for (int i = 0; text.size() < 1'950'000; ++i) {
    std::snprintf(line, sizeof line,
                  "[Software\\\\Classes\\\\CLSID\\\\{%08X-1DB4-11D0-8E0F-00A0C90F%04X}\\\\InprocServer32] 1733581%03d\n"
                  "#time=1db48e0c3a6%05x\n@=\"C:\\\\windows\\\\system32\\\\component%d.dll\"\n"
                  "\"ThreadingModel\"=\"Both\"\n\n",
                  i * 2654435761u, i & 0xFFFF, i % 1000, i, i);
    text += line;
    if (i % 50 == 0) {
      std::snprintf(line, sizeof line,
                    "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Fonts\\\\Font%d] 1733581234\n"
                    "\"Data\"=hex:%02x,00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
                    "  16,17,18,19,1a,1b,1c,1d,1e,1f\n\n",
                    i, i & 0xFF);
      text += line;
    }
  }
  return text;
}

class Prefixes {
 public:
  Prefixes() {
    const std::string body = winebootLikeKeys();
    home = tmp.path() + "/home";
    testsupport::makeFakePrefix(home + "/.wine",
                                body + testsupport::simulatorKeyBlock("8.0", "EXE Path", "C:\\FS2002", "PID", "51234"));
    testsupport::makeFakePrefix(home + "/.PlayOnLinux/wineprefix/Other", body);
    env.set("HOME", home);
    systemReg = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + body;
  }
  testsupport::TempDir tmp;
  std::string home;
  core::Environment env;
  std::string systemReg;
};

class Detect : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    if (!prefixes_) prefixes_ = std::make_unique<Prefixes>();
  }
  Prefixes& prefixes() { return *prefixes_; }

 private:
  std::unique_ptr<Prefixes> prefixes_;
};

BENCHMARK_DEFINE_F(Detect, OverPrefixes)(benchmark::State& state) {
  auto& p = prefixes();
  const core::SimulatorInfo* sim = core::simulatorInfo(80);
  for (auto _ : state) {
    core::WinePrefixes found(core::findWinePrefixes(p.env));
    auto index = found.registeredFor(80);
    auto folder = found.registry(index.value()).machineValue(sim->key, sim->folderValue);
    benchmark::DoNotOptimize(folder);
  }
  state.counters["system.reg MB"] = double(p.systemReg.size()) / 1e6;
}
BENCHMARK_REGISTER_F(Detect, OverPrefixes)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(Detect, FastPathOneFile)(benchmark::State& state) {
  const std::string keys[] = {"Software\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0",
                              "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0"};
  for (auto _ : state) benchmark::DoNotOptimize(core::winereg::parseKeys(prefixes().systemReg, keys));
}
BENCHMARK_REGISTER_F(Detect, FastPathOneFile)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(Detect, FullParseOneFile)(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(core::winereg::parse(prefixes().systemReg));
}
BENCHMARK_REGISTER_F(Detect, FullParseOneFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("the keys asked for against the whole file parsed", "Detect/FastPathOneFile",
                      "Detect/FullParseOneFile");
  reporter.printRatio("detection over two prefixes against one whole file parsed", "Detect/OverPrefixes",
                      "Detect/FullParseOneFile");
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
