// Rebuilding the catalogue (Search) over a generated aircraft folder of
// 2,000 aircraft folders with 5 variants, a panel and a sound set each
// (10,000 aircraft rows): each configuration file parsed once, against the
// same walk with one profile read per key. Both run in one process; the
// ratio and the peak memory are printed after the benchmark table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_world.h"
#include "manager/catalogue.h"
#include "support/aircraft_tree.h"

namespace {

constexpr int kFolders = 2000;
constexpr int kVariants = 5;

// The bench world with the generated tree in its aircraft folder.
struct World : bench::World {
  World() {
    testsupport::writeAircraftTree(root + "/c/FS2002/Aircraft", kFolders, kVariants);
    catalogue = std::make_unique<manager::Catalogue>(*ctx);
  }
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
  peaks()[name] = bench::peakRssKiB();
}

void BM_SearchParseOnce(benchmark::State& state) {
  runSearch(state, manager::ProfileReads::OncePerFile, "parse once");
}
void BM_SearchKeyByKey(benchmark::State& state) {
  runSearch(state, manager::ProfileReads::KeyByKey, "key by key");
}

BENCHMARK(BM_SearchParseOnce)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SearchKeyByKey)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const long before = bench::peakRssKiB();
  world();
  std::printf("tree of %d folders x %d variants generated; peak memory %ld KiB before any rebuild\n", kFolders,
              kVariants, before);
  bench::RatioReporter reporter;
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
