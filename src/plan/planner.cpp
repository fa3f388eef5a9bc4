#include "plan/planner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/context.h"
#include "core/errors.h"
#include "core/temp_folders.h"
#include "core/text.h"
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
    const install::InstallRun run = install::RunInstallCommand(planning, archives);
    // The run names its archives not installed in order; one archive may
    // be given twice.
    auto at = plan.archives.begin();
    for (const auto& refused : run.notInstalled) {
      at = std::find_if(at, plan.archives.end(), [&](const ArchivePlan& a) { return a.archive == refused.archive; });
      if (at == plan.archives.end()) break;
      (at++)->refusal = refused.reason;
    }
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

namespace {

// A message's text without the paragraphs that only name the archive (the
// installers head their messages with its path), its paragraphs joined.
std::string reasonText(const std::string& text, const std::string& archive) {
  std::string reason;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\n\n", start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    for (char& c : paragraph)
      if (c == '\n') c = ' ';
    if (!paragraph.empty() && !core::iequals(paragraph, archive)) reason += (reason.empty() ? "" : " ") + paragraph;
    start = end + 2;
  }
  return reason;
}

// The program a command line starts: its Windows program when it goes
// through wine, else its first word.
std::string programName(const std::vector<std::string>& argv) {
  for (const auto& arg : argv)
    if (core::lower(core::right(arg, 4)) == ".exe") return core::lastComponent(arg);
  return argv.empty() ? "an outside program" : core::lastComponent(argv.front());
}

}  // namespace

ArchiveVerdict verdictOf(const ArchivePlan& archive) {
  if (archive.counted && !archive.failed) return {Verdict::Install, {}};
  if (!archive.failed && !archive.programs.empty())
    return {Verdict::Outside, "whether it is installed is up to " + programName(archive.programs.front().argv)};
  ArchiveVerdict v{archive.failed ? Verdict::Error : Verdict::Refused, {}};
  // The last message says why; without one, the last question answered
  // other than Yes or OK.
  for (auto p = archive.prompts.rbegin(); p != archive.prompts.rend() && v.reason.empty(); ++p)
    if (p->kind == PlannedPrompt::Kind::Message) v.reason = reasonText(p->text, archive.archive);
  for (auto p = archive.prompts.rbegin(); p != archive.prompts.rend() && v.reason.empty(); ++p)
    if (p->kind != PlannedPrompt::Kind::Message && p->answer != "Yes" && p->answer != "OK")
      v.reason = "\"" + reasonText(p->text, archive.archive) + "\" answered " + p->answer;
  if (v.reason.empty()) v.reason = archive.refusal;
  if (v.reason.empty()) v.reason = archive.failed ? "the run would end here" : "nothing in it would be installed";
  return v;
}

const char* verdictWords(Verdict verdict) {
  switch (verdict) {
    case Verdict::Install:
      return "would install";
    case Verdict::Refused:
      return "would be refused";
    case Verdict::Error:
      return "would end in an error";
    case Verdict::Outside:
      return "would go to an outside program";
  }
  return "";
}

std::string planSummary(const InstallPlan& plan) {
  int installs = 0, planned = 0;
  for (const auto& a : plan.archives) {
    installs += verdictOf(a).verdict == Verdict::Install;
    planned += !a.archive.empty();
  }
  std::string line = "Would install " + std::to_string(installs) + " of " + std::to_string(plan.total) + " archive" +
                     (plan.total == 1 ? "" : "s") + ".";
  const int unplanned = plan.total - planned;
  if (plan.endedProgram && unplanned > 0)
    line += " The run would end before the last " + std::to_string(unplanned) + ".";
  return line;
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
