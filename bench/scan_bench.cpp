// ScanAircraft over generated aircraft trees of 1,000 to 10,000 catalogue
// rows (four variants a folder), the rows as the catalogue's Search lists
// them. Each size is laid out once; only the scan is timed.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_world.h"
#include "manager/catalogue.h"
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
    catalogue_ = std::make_unique<manager::Catalogue>(*w_.ctx);
    catalogue_->Search();
  }

  core::Context& ctx() { return *w_.ctx; }
  const core::ListView& flyLst() const { return catalogue_->flyLst; }

 private:
  bench::World w_;
  std::unique_ptr<manager::Catalogue> catalogue_;
};

void scanAircraft(benchmark::State& state, Tree& tree) {
  std::size_t reportBytes = 0;
  int repaints = 0;
  for (auto _ : state) {
    std::string report;
    int missingFound = 0;
    repaints = 0;
    scan::ReportBox box(report, missingFound, [&](int, int) { ++repaints; });
    scan::ScanAircraft(tree.ctx(), tree.flyLst(), box);
    reportBytes = report.size();
    benchmark::DoNotOptimize(report.data());
  }
  state.counters["rows"] = tree.flyLst().count();
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
