#include "install/install_command.h"

#include "core/change_journal.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "install/install_archive.h"

namespace install {

bool InstallRun::allInstalled() const {
  for (bool done : installed)
    if (!done) return false;
  return true;
}

std::string CounterText(int installedCount, int total) {
  return std::to_string(installedCount) + "/" + std::to_string(total) + " file(s) successfully installed.";
}

InstallRun RunInstallCommand(core::Context& ctx, const std::vector<std::string>& archives) {
  auto& s = ctx.state;
  auto& windows = ctx.windows();
  s.progressMode = 1;
  s.installedCount = 0;
  windows.loadProgress();

  InstallRun run;
  run.total = static_cast<int>(archives.size());
  if (archives.empty()) {
    windows.unloadProgress();
    return run;
  }
  for (int k = 1; k <= run.total; ++k) {
    windows.setProgressCounter("Installing file " + std::to_string(k) + "/" + std::to_string(run.total));
    s.currentArchivePath = archives[static_cast<std::size_t>(k - 1)];
    const auto before = s.installedCount;
    if (ctx.journal) ctx.journal->archiveStarted(s.currentArchivePath);
    try {
      InstallArchive(ctx, s.currentArchivePath);
    } catch (const core::EndProgram&) {
      if (ctx.journal) ctx.journal->archiveFailed();
      throw;
    }
    const bool counted = s.installedCount > before;
    if (ctx.journal) ctx.journal->archiveFinished(counted, s.packageKind, s.installFolderName);
    run.installed.push_back(counted);
  }
  windows.showProgress();
  windows.setProgressMessage("Done!");
  windows.setProgressCounter(CounterText(s.installedCount, run.total));
  windows.enableProgressOk();
  ctx.dialogs.beep();
  return run;
}

}  // namespace install
