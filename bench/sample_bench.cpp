// Writing the sample with 2,000 aircraft folders (hangarpak-cli sample DIR
// --aircraft 2000), against copying the same tree with std::filesystem, which
// is about the least any writer of those files can cost. Both run in one
// process over the same file system; the ratio and whether the sample came
// in under five seconds are printed after the benchmark table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "bench_world.h"
#include "sample/sample.h"
#include "support/temp_dir.h"

namespace {

constexpr int kAircraft = 2000;
namespace fsys = std::filesystem;

void BM_WriteSample(benchmark::State& state) {
  testsupport::TempDir tmp;
  int n = 0;
  for (auto _ : state) {
    const auto contents =
        sample::writeSample(tmp.path() + "/" + std::to_string(n++), {80, kAircraft, "/usr/bin/hangarpak-cli"});
    benchmark::DoNotOptimize(contents.variants);
  }
}

void BM_CopyTree(benchmark::State& state) {
  testsupport::TempDir tmp;
  sample::writeSample(tmp.path() + "/source", {80, kAircraft, "/usr/bin/hangarpak-cli"});
  int n = 0;
  for (auto _ : state)
    fsys::copy(tmp.path() + "/source", tmp.path() + "/" + std::to_string(n++), fsys::copy_options::recursive);
}

BENCHMARK(BM_WriteSample)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CopyTree)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double ratio = reporter.printRatio("sample of " + std::to_string(kAircraft) + " aircraft against a plain copy",
                                           "BM_WriteSample", "BM_CopyTree");
  if (ratio > 0) std::printf("the sample took %s 5 s\n", reporter.seconds("BM_WriteSample") < 5 ? "under" : "OVER");
  bench::printLoad();
  benchmark::Shutdown();
}
