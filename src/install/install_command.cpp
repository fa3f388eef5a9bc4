#include "install/install_command.h"

#include "core/change_journal.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/text.h"
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

std::string NotInstalledLine(const NotInstalled& archive) {
  return core::lastComponent(archive.archive) + ": " + archive.reason;
}

namespace {

// The lines of one part of the summary, as many as fit a dialog.
void appendLines(std::string& text, const std::vector<std::string>& lines) {
  constexpr std::size_t kShown = 8;
  for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) text += "\r\n" + lines[i];
  if (lines.size() > kShown) text += "\r\n(and " + std::to_string(lines.size() - kShown) + " more)";
}

}  // namespace

std::string DoneText(const InstallRun& run) {
  std::string text = "Done!";
  if (!run.notInstalled.empty()) {
    text += "\r\nNot installed:";
    std::vector<std::string> lines;
    for (const auto& archive : run.notInstalled) lines.push_back(NotInstalledLine(archive));
    appendLines(text, lines);
  }
  appendLines(text, run.notes);
  return text;
}

InstallRun RunInstallCommand(core::Context& ctx, const std::vector<std::string>& archives) {
  auto& s = ctx.state;
  auto& windows = ctx.windows();
  s.progressMode = core::ProgressMode::Installing;
  s.installedCount = 0;
  s.installNotes.clear();
  windows.loadProgress();

  InstallRun run;
  run.total = static_cast<int>(archives.size());
  if (archives.empty()) {
    windows.unloadProgress();
    return run;
  }
  for (int k = 1; k <= run.total; ++k) {
    windows.setProgressCounter("Installing file " + std::to_string(k) + "/" + std::to_string(run.total));
    const std::string& archive = archives[static_cast<std::size_t>(k - 1)];
    s.currentArchivePath = archive;
    const auto before = s.installedCount;
    // What the journal and the summary say of this archive is its own, never
    // what an earlier one left in the state.
    s.archiveRefusal.clear();
    s.packageKind = core::PackageKind::None;
    s.installFolderName.clear();
    // An installation the journal cannot record does not run.
    if (const std::string unrecorded = ctx.journal ? ctx.journal->archiveStarted(archive) : std::string();
        !unrecorded.empty()) {
      windows.hideProgress();
      ctx.dialogs.msgBox(core::upper(archive) + "\r\n\r\nThe archive is not installed: " + unrecorded,
                         "Installation aborted", core::Buttons::OK, core::Icon::Critical);
      run.installed.push_back(false);
      run.notInstalled.push_back({archive, unrecorded});
      continue;
    }
    try {
      InstallArchive(ctx, s.currentArchivePath);
    } catch (const core::EndProgram&) {
      if (ctx.journal) ctx.journal->archiveFailed();
      throw;
    }
    bool counted = s.installedCount > before;
    if (ctx.journal) {
      // A scenery package goes to its installer as it is: no classification
      // names it, and the kind and folder in the state are an earlier
      // archive's.
      const bool sif = core::lower(core::right(archive, 3)) == "sif";
      const std::string unrecorded = ctx.journal->archiveFinished(counted, sif ? core::PackageKind::Sif : s.packageKind,
                                                                  sif ? std::string() : s.installFolderName);
      // Not recorded as ended, it is rolled back at the next start.
      if (!unrecorded.empty()) {
        s.archiveRefusal = unrecorded;
        s.installedCount = before;
        counted = false;
      }
    }
    run.installed.push_back(counted);
    if (!counted)
      run.notInstalled.push_back(
          {archive, s.archiveRefusal.empty() ? "nothing in it was installed" : s.archiveRefusal});
  }
  windows.showProgress();
  run.notes = s.installNotes;
  windows.setProgressMessage(DoneText(run));
  windows.setProgressCounter(CounterText(s.installedCount, run.total));
  windows.enableProgressOk();
  ctx.dialogs.beep();
  return run;
}

}  // namespace install
