// The cost of the install journal: the large aircraft archive installed
// through the program's install command with the journal off and on, side
// by side in one process. Every run after the first overwrites the
// archive's 290 wave files in the shared Sound folder, which hold other
// bytes of the same size before each run, so the journal keeps their old
// content. Reported: the time ratio (journal on / off) and the
// journal's space (database and kept files, in disk blocks) against the size
// of the files overwritten.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "bench_world.h"
#include "install/install_command.h"
#include "journal/recording_services.h"
#include "journal/store.h"
#include "jumbo_archive.h"

namespace {

namespace fsys = std::filesystem;

struct World : bench::World {
  World() : archive(root + "/Jumbo.zip") {
    bench::buildJumboArchive(archive);
    services = std::make_unique<journal::Journalling>(ctx->locations.appFolder, *fs, *settings, *registry, *launcher);
    journalled = std::make_unique<core::Context>(env, ctx->locations, drives, services->fs, services->settings,
                                                 services->registry, services->launcher, dialogs, printer);
    journalled->state = ctx->state;
    services->recorder.attach(*journalled);
  }

  void clean() {
    fsys::remove_all(root + "/c/FS2002/Aircraft/jumbo");
    for (const auto& e : fsys::directory_iterator(root + "/c/FS2002/Sound"))
      testsupport::writeHostFile(e.path().string(), std::string(fsys::file_size(e.path()), 'z'));
  }

  // Disk bytes of a host file.
  static std::uint64_t blocks(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_blocks) * 512 : 0;
  }

  // The last installation's share of the journal: the files it keeps, and
  // the database divided among the installations it holds; and the bytes
  // of the files it overwrote.
  std::pair<std::uint64_t, std::uint64_t> lastInstallationSpace() const {
    const std::string app = ctx->locations.appFolder;
    journal::Store store(journal::databasePath(app));
    std::uint64_t kept = 0, overwritten = 0;
    for (const auto& e : store.effects(*services->recorder.lastInstallation())) {
      if (e.kind != journal::EffectKind::FileOverwritten) continue;
      overwritten += e.size.value_or(0);
      if (!e.backup.empty()) kept += blocks(journal::backupFolder(app) + "/" + e.backup);
    }
    const std::uint64_t database = blocks(journal::databasePath(app)) + blocks(journal::databasePath(app) + "-wal");
    return {kept + database / store.installations().size(), overwritten};
  }

  std::string archive;
  std::unique_ptr<journal::Journalling> services;
  std::unique_ptr<core::Context> journalled;
};

void installOnce(core::Context& ctx) {
  if (!install::RunInstallCommand(ctx, {"Z:\\Jumbo.zip"}).allInstalled())
    throw std::runtime_error("the archive was not installed");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  World world;
  world.clean();
  installOnce(*world.ctx);  // the wave files are in the Sound folder from now on
  double seconds[2] = {0, 0};
  std::uint64_t journalBytes = 0, overwrittenBytes = 0;
  constexpr int kIterations = 3;

  for (const bool on : {false, true}) {
    const std::string name = on ? "InstallJumbo/journal on" : "InstallJumbo/journal off";
    benchmark::RegisterBenchmark(
        name.c_str(),
        [&, on](benchmark::State& s) {
          for (auto _ : s) {
            s.PauseTiming();
            world.clean();
            s.ResumeTiming();
            const auto start = std::chrono::steady_clock::now();
            installOnce(on ? *world.journalled : *world.ctx);
            seconds[on] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
          }
          if (!on) return;
          std::tie(journalBytes, overwrittenBytes) = world.lastInstallationSpace();
          s.counters["journal_MB"] = static_cast<double>(journalBytes) / 1e6;
          s.counters["overwritten_MB"] = static_cast<double>(overwrittenBytes) / 1e6;
        })
        ->Iterations(kIterations)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (seconds[0] > 0)
    std::cout << "journal on / off = " << seconds[1] / seconds[0] << "; journal space = " << journalBytes
              << " bytes for " << overwrittenBytes << " bytes overwritten" << std::endl;
  bench::printLoad();
  return 0;
}
