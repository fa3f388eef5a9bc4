// Reading and writing one key of a large aircraft.cfg, against reading and
// writing the file's bytes alone. Each call rereads (and for a write,
// rewrites) the whole file, as the program's profile calls do.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_world.h"
#include "core/atomic_file.h"
#include "core/profile.h"

namespace {

// 100 sections of 50 lines: 5,000 lines, about 190 KB, CR LF.
std::string aircraftCfg() {
  std::string bytes;
  for (int s = 0; s < 100; ++s) {
    bytes += "[fltsim." + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 49; ++k)
      bytes += "key" + std::to_string(k) + " = value of key " + std::to_string(k) + " in section " + std::to_string(s) +
               ", some text to make the line as long as real ones\r\n";
  }
  return bytes;
}

// The bench world with C:\FS2002\Aircraft\Big\aircraft.cfg.
struct World : bench::World {
  World() : bytes(aircraftCfg()) {
    fs->makeFolder("C:\\FS2002\\Aircraft\\Big");
    fs->writeFile(file, bytes);
  }
  const std::string file = "C:\\FS2002\\Aircraft\\Big\\aircraft.cfg";
  std::string bytes;
};

void BM_ReadFileBytes(benchmark::State& state) {
  World w;
  for (auto _ : state) benchmark::DoNotOptimize(w.fs->readFile(w.file));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * w.bytes.size()));
}
BENCHMARK(BM_ReadFileBytes);

// A key in the middle section and one in the last, where the scan is longest.
void BM_ReadProfileString(benchmark::State& state) {
  World w;
  const std::string section = "fltsim." + std::to_string(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(core::ReadProfileString(*w.ctx, w.file, section, "key48", ""));
}
BENCHMARK(BM_ReadProfileString)->Arg(50)->Arg(99);

void BM_WriteFileBytes(benchmark::State& state) {
  World w;
  for (auto _ : state) w.fs->writeFile(w.file, w.bytes);
}
BENCHMARK(BM_WriteFileBytes)->UseRealTime();

void BM_WriteProfileString(benchmark::State& state) {
  World w;
  int n = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(core::WriteProfileString(*w.ctx, w.file, "fltsim.50", "key7", std::to_string(n++ % 2)));
  w.fs->writeFile(w.file, w.bytes);
}
BENCHMARK(BM_WriteProfileString)->UseRealTime();

// The parser's share, without the file system.
void BM_LookupInMemory(benchmark::State& state) {
  const std::string bytes = aircraftCfg();
  for (auto _ : state) benchmark::DoNotOptimize(core::profile::lookup(bytes, "fltsim.99", "key48"));
}
BENCHMARK(BM_LookupInMemory);

void BM_WithValueInMemory(benchmark::State& state) {
  const std::string bytes = aircraftCfg();
  for (auto _ : state) benchmark::DoNotOptimize(core::profile::withValue(bytes, "fltsim.50", "key7", "1"));
}
BENCHMARK(BM_WithValueInMemory);

void BM_DocumentParse(benchmark::State& state) {
  const std::string bytes = aircraftCfg();
  for (auto _ : state) benchmark::DoNotOptimize(core::profile::Document(bytes));
}
BENCHMARK(BM_DocumentParse);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("one key of the last section against the file's bytes", "BM_ReadProfileString/99",
                      "BM_ReadFileBytes");
  reporter.printRatio("one key written against the file's bytes written", "BM_WriteProfileString", "BM_WriteFileBytes");
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
