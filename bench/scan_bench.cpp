// ScanAircraft over generated aircraft trees of 1,000 to 10,000 variants
// (four a folder), as the catalogue lists them. Each size is laid out and
// its catalogue built once; only the scan is timed.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_world.h"
#include "manager/build_catalogue.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "support/aircraft_tree.h"

namespace {

constexpr int kVariantsPerFolder = 4;

// The bench world with `rows` aircraft variants, and the catalogue built
// over it.
class Tree {
 public:
  explicit Tree(int rows) {
    testsupport::writeAircraftTree(w_.root + "/c/FS2002/Aircraft", rows / kVariantsPerFolder, kVariantsPerFolder);
    catalogue_ = manager::BuildCatalogue(*w_.ctx);
  }

  core::Context& ctx() { return *w_.ctx; }
  const std::vector<manager::AircraftVariant>& variants() const { return catalogue_.variants(); }

 private:
  bench::World w_;
  manager::Catalogue catalogue_;
};

void scanAircraft(benchmark::State& state, Tree& tree) {
  std::size_t reportBytes = 0;
  int repaints = 0;
  for (auto _ : state) {
    std::string report;
    int missingFound = 0;
    repaints = 0;
    scan::ReportBox box(report, missingFound, [&](int, int) { ++repaints; });
    scan::ScanAircraft(tree.ctx(), tree.variants(), box);
    reportBytes = report.size();
    benchmark::DoNotOptimize(report.data());
  }
  state.counters["rows"] = static_cast<double>(tree.variants().size());
  state.counters["report_kB"] = static_cast<double>(reportBytes) / 1024;
  state.counters["repaints"] = repaints;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<std::unique_ptr<Tree>> trees;
  for (int rows : {1000, 2500, 5000, 10000}) {
    trees.push_back(std::make_unique<Tree>(rows));
    Tree& tree = *trees.back();
    benchmark::RegisterBenchmark(("ScanAircraft/" + std::to_string(rows)).c_str(),
                                 [&tree](benchmark::State& s) { scanAircraft(s, tree); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
