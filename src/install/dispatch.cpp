#include "install/dispatch.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/adventures.h"
#include "install/aircraft.h"
#include "install/fs5.h"
#include "install/install_folders.h"
#include "install/panel.h"
#include "install/scenery.h"
#include "install/sound.h"

namespace install {

namespace {
using core::PackageKind;

const char* const kSceneryRemoved =
    "The scenery installation part of Hangarpak 2000 has been removed.\r\n"
    "That is because this part of the program worked miserable!\r\n"
    "\r\n"
    "I you want to install a scenery you should try using a program called Ortholay.\r\n"
    "This program is the best scenery installation tool available for Flight Simulator.";

void refuse(core::Context& ctx, const std::string& why) {
  ctx.windows().hideProgress();
  ctx.dialogs.msgBox(core::upper(ctx.state.currentArchivePath) + "\r\n\r\n" + why, "Installation aborted",
                     core::Buttons::OK, core::Icon::Critical);
}

// False when the add-on is installed already and the user does not want it
// updated. folder is below the simulator folder.
bool mayInstallOver(core::Context& ctx, const std::string& folder, const char* title) {
  if (!ctx.fs.folderExists(ctx.state.simFolder + folder)) return true;
  ctx.windows().hideProgress();
  const auto answer = ctx.dialogs.msgBox("Do you want to update " + core::lower(ctx.state.installFolderName) + "?",
                                         title, core::Buttons::YesNo, core::Icon::Question);
  if (answer != core::Answer::Yes) return false;
  ctx.windows().showProgress();
  ctx.windows().repaintProgress();
  return true;
}

void dispatch(core::Context& ctx) {
  auto& s = ctx.state;
  const std::string& f = s.installFolderName;
  switch (s.packageKind) {
    case PackageKind::None:
      refuse(ctx, "The ZIP file does NOT contain any FS98/2000/2002 files.");
      return;
    case PackageKind::Aircraft:
      if (!mayInstallOver(ctx, "\\Aircraft\\" + f, "Aircraft already installed")) return;
      CreateInstallFolders(ctx);
      InstallAircraft(ctx);
      return;
    case PackageKind::Panel:
      if (!mayInstallOver(ctx, "\\Aircraft\\FSFSConv\\panel." + f, "Panel already installed")) return;
      CreateInstallFolders(ctx);
      InstallPanel(ctx);
      return;
    case PackageKind::Sound:
      if (!mayInstallOver(ctx, "\\Aircraft\\FSFSConv\\sound." + f, "Sound already installed")) return;
      CreateInstallFolders(ctx);
      InstallSound(ctx);
      return;
    case PackageKind::Scenery:
      ctx.dialogs.msgBox(kSceneryRemoved, "Scenery installation", core::Buttons::OK, core::Icon::Exclamation);
      return;
    case PackageKind::Adventure:
      CreateInstallFolders(ctx);
      InstallAdventures(ctx);
      return;
    case PackageKind::MultiAircraft:
      refuse(ctx, "Hangarpak does NOT support ''muti-aircraft'' package.");
      return;
    case PackageKind::Fs5Aircraft:
      ConvertFs5Aircraft(ctx);
      return;
    case PackageKind::Sif:
      if (s.simVersion == core::simver::FS98)
        RefuseSifUnderFs98(ctx);
      else
        RunSceneryInstaller(ctx, "");
      return;
  }
}
}  // namespace

void RefuseSifUnderFs98(core::Context& ctx) {
  ctx.dialogs.msgBox("You cannot install SIF files to FS98!", "FS98 does not support SIF", core::Buttons::OK,
                     core::Icon::Exclamation);
}

void DispatchInstall(core::Context& ctx) {
  dispatch(ctx);
  ctx.windows().showProgress();
  ctx.windows().repaintProgress();
}

}  // namespace install
