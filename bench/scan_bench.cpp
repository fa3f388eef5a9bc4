// ScanAircraft over generated aircraft trees of 1,000 to 10,000 variants
// (four a folder), as the catalogue lists them, against du -s of the same
// aircraft folder. Each size is laid out and its catalogue built once; only
// the scan is timed.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_world.h"
#include "manager/build_catalogue.h"
#include "run_program.h"
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
  std::string aircraftFolder() const { return w_.root + "/c/FS2002/Aircraft"; }

 private:
  bench::World w_;
  manager::Catalogue catalogue_;
};

void scanAircraft(benchmark::State& state, Tree& tree) {
  std::size_t reportBytes = 0;
  int repaints = 0;
  double cpu = 0;
  for (auto _ : state) {
    std::string report;
    int missingFound = 0;
    repaints = 0;
    scan::ReportBox box(report, missingFound, [&](int, int) { ++repaints; });
    bench::countCpu(cpu, [&] { scan::ScanAircraft(tree.ctx(), tree.variants(), box); });
    reportBytes = report.size();
    benchmark::DoNotOptimize(report.data());
  }
  bench::reportCpu(state, cpu);
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
    benchmark::RegisterBenchmark(
        ("DuS/" + std::to_string(rows)).c_str(),
        [&tree](benchmark::State& s) {
          double cpu = 0;
          for (auto _ : s) bench::countCpu(cpu, [&] { bench::runProgram({"du", "-s", tree.aircraftFolder()}); });
          bench::reportCpu(s, cpu);
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(2.0);
  }
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int rows : {1000, 2500, 5000, 10000})
    reporter.printRatio("scan of " + std::to_string(rows) + " rows against du -s",
                        "ScanAircraft/" + std::to_string(rows), "DuS/" + std::to_string(rows));
  reporter.printRatio("scan of 10000 rows against 1000", "ScanAircraft/10000", "ScanAircraft/1000");
  bench::printLoad();
  benchmark::Shutdown();
}
