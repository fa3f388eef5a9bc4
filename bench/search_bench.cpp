// Building the catalogue (the walk of Search and of every hangarpak-cli
// command on the catalogue) over generated aircraft folders with 5 variants,
// a panel and a sound set each: 1,000 and 4,000 folders (5,000 and 20,000
// variants). Each configuration file is parsed once and every look-up goes
// through a map, so four times the folders should cost about four times the
// time; the ratio and the peak memory are printed after the benchmark table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench_world.h"
#include "manager/build_catalogue.h"
#include "support/aircraft_tree.h"

namespace {

constexpr int kVariants = 5;
constexpr int kSmall = 1000;
constexpr int kLarge = 4000;

// The bench world with the generated tree in its aircraft folder.
struct World : bench::World {
  explicit World(int count) : folders(count) {
    testsupport::writeAircraftTree(root + "/c/FS2002/Aircraft", count, kVariants);
  }
  int folders;
};

void buildCatalogue(benchmark::State& state, World& w) {
  std::size_t variants = 0;
  for (auto _ : state) {
    const manager::Catalogue catalogue = manager::BuildCatalogue(*w.ctx);
    variants = catalogue.variants().size();
    if (variants != static_cast<std::size_t>(w.folders * kVariants) ||
        catalogue.panels().size() != static_cast<std::size_t>(w.folders))
      state.SkipWithError("the catalogue is not complete");
  }
  state.counters["variants"] = static_cast<double>(variants);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  World small(kSmall), large(kLarge);
  std::printf("trees of %d and %d folders x %d variants generated\n", kSmall, kLarge, kVariants);
  for (World* w : {&small, &large})
    benchmark::RegisterBenchmark(("BuildCatalogue/" + std::to_string(w->folders)).c_str(),
                                 [w](benchmark::State& s) { buildCatalogue(s, *w); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("catalogue of " + std::to_string(kLarge) + " folders against " + std::to_string(kSmall),
                      "BuildCatalogue/" + std::to_string(kLarge), "BuildCatalogue/" + std::to_string(kSmall));
  std::printf("peak memory: %ld KiB\n", bench::peakRssKiB());
  bench::printLoad();
  benchmark::Shutdown();
  return 0;
}
