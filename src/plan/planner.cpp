#include "plan/planner.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/context.h"
#include "core/errors.h"
#include "core/temp_folders.h"
#include "install/install_command.h"
#include "install/temp_zip.h"
#include "plan/planning_fs.h"
#include "plan/planning_services.h"

namespace plan {

namespace {

// A folder of the planner's own beside the extraction folder, for the
// extracted files the plan copies; empty when none can be made (the plan
// then keeps them in memory).
constexpr std::string_view kScratchPrefix = ".plan-";

std::string makeScratchFolder(const core::Context& ctx) {
  std::string name = ctx.locations.appFolder + "/" + std::string(kScratchPrefix) + "XXXXXX";
  return ::mkdtemp(name.data()) ? name : std::string();
}

}  // namespace

InstallPlan PlanInstall(core::Context& ctx, const std::vector<std::string>& archives, const PlanOptions& options) {
  PlanningFileSystem fs(ctx.fs, makeScratchFolder(ctx));
  PlanRecorder recorder(fs, options.originOf);
  PlanningSettings settings(ctx.settings, recorder);
  PlanningRegistry registry(ctx.registry, recorder);
  PlanningLauncher launcher(recorder);
  UnattendedDialogs unattended;
  RecordingDialogs dialogs(options.dialogs ? *options.dialogs : unattended, recorder);

  core::Context planning(ctx.env, ctx.locations, ctx.drives, fs, settings, registry, launcher, dialogs, ctx.printer);
  planning.state = ctx.state;
  planning.winePrefixes = ctx.winePrefixes;
  planning.exeName = ctx.exeName;
  planning.journal = &recorder;
  fs.setPassThrough([&planning] { return install::TempZipFolder(planning); });
  RecordingWindowHost windows(planning.state, options.windows ? options.windows(planning) : nullptr, recorder);
  planning.setWindowHost(&windows);

  InstallPlan& plan = recorder.plan();
  plan.total = static_cast<int>(archives.size());
  try {
    install::RunInstallCommand(planning, archives);
  } catch (const core::EndProgram&) {
    plan.endedProgram = true;
  }
  recorder.close();
  core::ClearTempZip(planning);
  planning.setWindowHost(nullptr);
  plan.installedCount = planning.state.installedCount;
  plan.counterLine = install::CounterText(plan.installedCount, plan.total);
  return std::move(plan);
}

const char* changeWord(FileChange change) {
  switch (change) {
    case FileChange::Overwrites:
      return "overwrites";
    case FileChange::Deleted:
      return "deletes";
    case FileChange::New:
      return "new";
    case FileChange::Identical:
      return "identical";
  }
  return "";
}

const char* kindWord(core::PackageKind kind) {
  switch (kind) {
    case core::PackageKind::Aircraft:
      return "aircraft";
    case core::PackageKind::Panel:
      return "panel";
    case core::PackageKind::Sound:
      return "sound";
    case core::PackageKind::Scenery:
      return "scenery";
    case core::PackageKind::Adventure:
      return "adventure";
    case core::PackageKind::MultiAircraft:
      return "multi-aircraft";
    case core::PackageKind::Fs5Aircraft:
      return "fs5-aircraft";
    case core::PackageKind::Sif:
      return "sif";
    case core::PackageKind::None:
      break;
  }
  return "none";
}

void RemoveAbandonedPlanFolders(const core::Locations& locations) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(locations.appFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == kScratchPrefix.size() + 6 && name.starts_with(kScratchPrefix) && entry.is_directory(ec) &&
        !entry.is_symlink(ec))
      std::filesystem::remove_all(entry.path(), ec);
  }
}

}  // namespace plan
