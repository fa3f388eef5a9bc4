#include "install/install_archive.h"

#include <new>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/safe_names.h"
#include "core/simulator.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/classify.h"
#include "install/dispatch.h"
#include "install/extract.h"
#include "install/failure_words.h"
#include "install/folder_name.h"
#include "install/package.h"
#include "install/scenery.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using core::PackageKind;

// What an earlier run left in TempZip would be taken for part of this
// archive: when it cannot all be removed, the archive is refused with the
// names of what stays, and the program goes on. False for a refusal.
bool emptyTempZip(core::Context& ctx, const std::string& path) {
  const auto left = core::EmptyTempZip(ctx);
  if (left.empty()) return true;
  constexpr std::size_t kNamed = 5;
  std::string text = core::upper(path) + "\r\n\r\nThe archive is not installed: these could not be removed from " +
                     TempZipFolder(ctx) + ":";
  for (std::size_t i = 0; i < left.size() && i < kNamed; ++i) text += "\r\n" + left[i];
  if (left.size() > kNamed) text += "\r\nand " + std::to_string(left.size() - kNamed) + " more";
  ctx.windows().hideProgress();
  ctx.dialogs.msgBox(text, "Installation aborted", core::Buttons::OK, core::Icon::Critical);
  ctx.state.archiveRefusal = "what an earlier run left in " + TempZipFolder(ctx) + " could not be removed";
  return false;
}

void installZip(core::Context& ctx, const std::string& path) {
  auto& s = ctx.state;
  auto& windows = ctx.windows();
  core::FindSimulator(ctx);
  windows.showProgress();
  windows.repaintProgress();
  if (!emptyTempZip(ctx, path)) return;
  std::string base = path;
  s.archiveBaseName = core::GetBaseName(base);
  s.installFolderName = s.archiveBaseName;
  if (s.commandLineInstall) windows.hideMainWindow();
  if (!ctx.fs.folderExists(TempZipFolder(ctx))) ctx.fs.makeFolder(TempZipFolder(ctx));
  auto members = ExtractArchive(ctx, path);
  if (!members) {
    // A refused archive takes back what it put into TempZip.
    core::ClearTempZip(ctx);
    return;
  }
  Package package{std::move(*members), {}, {}};
  ClassifyPackage(ctx, package);
  s.askName(core::NamePrompt::FolderName);
  const auto kind = s.packageKind;
  // Several aircraft are each given their folder name in the dispatch.
  const bool named = (kind == PackageKind::Aircraft && package.aircraftFolders.size() < 2) ||
                     kind == PackageKind::Panel || kind == PackageKind::Sound || kind == PackageKind::Scenery;
  if (named && !SettleFolderName(ctx, path, "the archive's name")) return;
  DispatchInstall(ctx, package);
}

void install(core::Context& ctx, const std::string& path) {
  if (!core::FileExists(ctx, path)) {
    ctx.dialogs.msgBox(core::upper(path) + "\r\n\r\nFile doesn't exist", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
    ctx.state.archiveRefusal = "the file does not exist";
    return;
  }
  if (core::lower(core::right(path, 3)) == "sif") {
    if (ctx.state.simVersion == core::simver::FS98)
      RefuseSifUnderFs98(ctx);
    else
      RunSceneryInstaller(ctx, path);
    return;
  }
  installZip(ctx, path);
}

// The message keeps its first line (the number, or the message that names
// the library or TempZip); below it the cause in words and what became of
// the installation's changes, which the journal rolls back first.
[[noreturn]] void endWithError(core::Context& ctx, int number, const std::string& words) {
  const std::string undone = ctx.journal ? ctx.journal->archiveFailed() : std::string();
  ctx.windows().unloadProgress();
  std::string below = "\r\n\r\n" + words;
  if (!undone.empty()) below += "\r\n\r\n" + undone;
  if (number == core::err::LibraryNotLoaded)
    ctx.dialogs.msgBox("Missing file ''hangarpak.dll''" + below, "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
  else if (number == core::err::PathFileAccess)
    ctx.dialogs.msgBox("Delete TempZip" + below, "Installation aborted", core::Buttons::OK, core::Icon::Critical);
  else
    ctx.dialogs.msgBox("Install error " + std::to_string(number) + below, "Error", core::Buttons::OK,
                       core::Icon::Exclamation);
  throw core::EndProgram{1};
}
}  // namespace

void InstallArchive(core::Context& ctx, const std::string& archivePath) {
  // The caller passes state.currentArchivePath, which the steps may not
  // change under us.
  const std::string path = archivePath;
  try {
    install(ctx, path);
  } catch (const core::RuntimeError& e) {
    endWithError(ctx, e.number(), FailureInWords(ctx, e));
  } catch (const std::bad_alloc&) {
    endWithError(ctx, core::err::OutOfMemory, core::describeError(core::err::OutOfMemory) + ".");
  }
}

}  // namespace install
