// ScanAircraft over generated aircraft trees of 1,000 to 10,000 catalogue
// rows (four variants a folder), the rows as the catalogue's Search lists
// them. Each size is laid out once; only the scan is timed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/fs.h"
#include "core/locations.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "manager/catalogue.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "support/aircraft_tree.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace {

constexpr int kVariantsPerFolder = 4;

// A simulator at C:\FS2002 in a temporary folder with `rows` aircraft
// variants, and the catalogue built over it.
class Tree {
 public:
  explicit Tree(int rows) : root_(tmp_.path()) {
    env_.set("HOME", root_ + "/home");
    env_.set("XDG_CONFIG_HOME", root_ + "/config");
    env_.set("HANGARPAK_HOME", root_ + "/app");
    std::filesystem::create_directories(root_ + "/c/FS2002/Aircraft");
    std::filesystem::create_directories(root_ + "/app");
    testsupport::writeHostFile(root_ + "/c/FS2002/fs2002.exe", "");
    testsupport::writeAircraftTree(root_ + "/c/FS2002/Aircraft", rows / kVariantsPerFolder, kVariantsPerFolder);

    drives_.set('c', root_ + "/c", "bench");
    drives_.set('z', root_, "bench");
    const auto locations = core::Locations::fromEnvironment(env_, root_ + "/bin/hangarpak");
    fs_ = core::makeHostFileSystem(drives_);
    settings_ = std::make_unique<core::IniSettingsStore>(locations.configHome);
    registry_ = std::make_unique<core::IniRegistryStore>(locations.registryFile);
    launcher_ = core::makePosixProcessLauncher(env_);
    ctx_ = std::make_unique<core::Context>(env_, locations, drives_, *fs_, *settings_, *registry_, *launcher_, dialogs_,
                                           printer_);
    ctx_->state.simFolder = "C:\\FS2002";
    ctx_->state.simVersion = 80;
    catalogue_ = std::make_unique<manager::Catalogue>(*ctx_);
    catalogue_->Search();
  }

  core::Context& ctx() { return *ctx_; }
  const core::ListView& flyLst() const { return catalogue_->flyLst; }

 private:
  testsupport::TempDir tmp_;
  std::string root_;
  core::Environment env_;
  core::DriveTable drives_;
  std::unique_ptr<core::FileSystem> fs_;
  std::unique_ptr<core::IniSettingsStore> settings_;
  std::unique_ptr<core::IniRegistryStore> registry_;
  std::unique_ptr<core::ProcessLauncher> launcher_;
  testsupport::ScriptedDialogs dialogs_;
  testsupport::RecordingPrinter printer_;
  std::unique_ptr<core::Context> ctx_;
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
