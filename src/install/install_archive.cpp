#include "install/install_archive.h"

#include <new>

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
#include "install/scenery.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using core::PackageKind;

// The folder-name prompt, for the kinds that install into a named folder
// (and scenery, which is refused after it). False when the user cancelled.
bool askFolderName(core::Context& ctx) {
  auto& windows = ctx.windows();
  windows.hideProgress();
  windows.setMainWindowEnabled(false);
  windows.showNamePrompt();
  if (ctx.state.namePromptMode != 10) return false;
  windows.showProgress();
  windows.repaintProgress();
  return true;
}

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
  return false;
}

// The folder name taken from the archive's file name ("...zip" gives "..")
// is asked for like a typed one: the prompt proposes it and refuses it until
// it is changed. Where no one could change it (the command line without a
// terminal), the archive is refused. False when nothing is to be installed.
bool settleFolderName(core::Context& ctx, const std::string& path) {
  auto& s = ctx.state;
  const bool fromArchive = s.optFolderName != 1;
  if ((!fromArchive || !core::IsSafeName(s.installFolderName)) && !askFolderName(ctx)) return false;
  const core::NameFault fault = core::CheckName(s.installFolderName);
  if (fault == core::NameFault::None) return true;
  ctx.windows().hideProgress();
  ctx.dialogs.msgBox(core::upper(path) + "\r\n\r\nThe folder name " +
                         (fromArchive ? "taken from the archive's name " : "") +
                         std::string(core::DescribeNameFault(fault)) + ".\r\n" + std::string(core::kFolderNameRefusal),
                     "Installation aborted", core::Buttons::OK, core::Icon::Critical);
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
  if (!ExtractArchive(ctx, path)) {
    // A refused archive takes back what it put into TempZip.
    core::ClearTempZip(ctx);
    return;
  }
  ClassifyPackage(ctx);
  s.namePromptMode = 1;
  const auto kind = s.packageKind;
  const bool named = kind == PackageKind::Aircraft || kind == PackageKind::Panel || kind == PackageKind::Sound ||
                     kind == PackageKind::Scenery;
  if (named && !settleFolderName(ctx, path)) return;
  DispatchInstall(ctx);
}

void install(core::Context& ctx, const std::string& path) {
  if (!core::FileExists(ctx, path)) {
    ctx.dialogs.msgBox(core::upper(path) + "\r\n\r\nFile doesn't exist", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
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

[[noreturn]] void endWithError(core::Context& ctx, int number) {
  ctx.windows().unloadProgress();
  if (number == core::err::LibraryNotLoaded)
    ctx.dialogs.msgBox("Missing file ''hangarpak.dll''", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
  else if (number == core::err::PathFileAccess)
    ctx.dialogs.msgBox("Delete TempZip", "Installation aborted", core::Buttons::OK, core::Icon::Critical);
  else
    ctx.dialogs.msgBox("Install error " + std::to_string(number), "Error", core::Buttons::OK, core::Icon::Exclamation);
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
    endWithError(ctx, e.number());
  } catch (const std::bad_alloc&) {
    endWithError(ctx, core::err::OutOfMemory);
  }
}

}  // namespace install
