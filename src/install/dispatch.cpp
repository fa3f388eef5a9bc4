#include "install/dispatch.h"

#include <set>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/adventures.h"
#include "install/aircraft.h"
#include "install/folder_name.h"
#include "install/fs5.h"
#include "install/install_folders.h"
#include "install/member_scope.h"
#include "install/package.h"
#include "install/panel.h"
#include "install/placer.h"
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

// Shows why the archive is refused; reason says it in the run's summary.
void refuse(core::Context& ctx, const std::string& why, std::string reason) {
  ctx.windows().hideProgress();
  ctx.dialogs.msgBox(core::upper(ctx.state.currentArchivePath) + "\r\n\r\n" + why, "Installation aborted",
                     core::Buttons::OK, core::Icon::Critical);
  ctx.state.archiveRefusal = std::move(reason);
}

// False when the add-on is installed already and the user does not want it
// updated. folder is below the simulator folder.
bool mayInstallOver(core::Context& ctx, const std::string& folder, const char* title) {
  if (!ctx.fs.folderExists(ctx.state.simFolder + folder)) return true;
  ctx.windows().hideProgress();
  const auto answer = ctx.dialogs.msgBox("Do you want to update " + core::lower(ctx.state.installFolderName) + "?",
                                         title, core::Buttons::YesNo, core::Icon::Question);
  if (answer != core::Answer::Yes) {
    ctx.state.archiveRefusal = core::lower(ctx.state.installFolderName) + " is installed already and was not updated";
    return false;
  }
  ctx.windows().showProgress();
  ctx.windows().repaintProgress();
  return true;
}

// Each aircraft of the package into its folder; the archive counts once.
void installAircraft(core::Context& ctx, const Package& package) {
  auto& s = ctx.state;
  const auto& folders = package.aircraftFolders;
  const bool several = folders.size() > 1;
  const std::vector<std::string> names = several ? AircraftFolderNames(folders) : std::vector{s.installFolderName};
  Placer placer(ctx, package.members);
  std::vector<std::string> installed;
  for (std::size_t k = 0; k < folders.size(); ++k) {
    s.installFolderName = names[k];
    if (several && !SettleFolderName(ctx, s.currentArchivePath, "a folder of the archive")) continue;
    if (!mayInstallOver(ctx, "\\Aircraft\\" + s.installFolderName, "Aircraft already installed")) continue;
    CreateInstallFolders(ctx);
    std::vector<std::string> others = folders;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(k));
    MemberScope scope(package.members, folders[k], std::move(others),
                      s.simFolder + "\\aircraft\\" + s.installFolderName + "\\");
    InstallAircraft(ctx, scope, placer);
    installed.push_back(s.installFolderName);
  }
  if (installed.empty()) return;
  // Also when a name prompt was cancelled.
  ++s.installedCount;
  s.catalogueStale = true;
  if (several) {
    s.installFolderName = installed.front();
    for (std::size_t k = 1; k < installed.size(); ++k) s.installFolderName += ", " + installed[k];
  }
}

void dispatch(core::Context& ctx, const Package& package) {
  auto& s = ctx.state;
  const std::string& f = s.installFolderName;
  switch (s.packageKind) {
    case PackageKind::None:
      refuse(ctx, "The ZIP file does NOT contain any FS98/2000/2002 files.", "it holds no FS98/2000/2002 files");
      return;
    case PackageKind::Aircraft:
      installAircraft(ctx, package);
      return;
    case PackageKind::Panel:
      if (!mayInstallOver(ctx, "\\Aircraft\\FSFSConv\\panel." + f, "Panel already installed")) return;
      CreateInstallFolders(ctx);
      InstallPanel(ctx, package.members);
      return;
    case PackageKind::Sound:
      if (!mayInstallOver(ctx, "\\Aircraft\\FSFSConv\\sound." + f, "Sound already installed")) return;
      CreateInstallFolders(ctx);
      InstallSound(ctx, package.members);
      return;
    case PackageKind::Scenery:
      ctx.dialogs.msgBox(kSceneryRemoved, "Scenery installation", core::Buttons::OK, core::Icon::Exclamation);
      ctx.state.archiveRefusal = "it is a scenery, which a scenery installer such as Ortholay installs";
      return;
    case PackageKind::Adventure:
      CreateInstallFolders(ctx);
      InstallAdventures(ctx);
      return;
    case PackageKind::MultiAircraft:
      if (package.clashingAirFiles.size() == 2)
        refuse(ctx,
               "The archive holds two aircraft files of one name, " + package.clashingAirFiles[0] + " and " +
                   package.clashingAirFiles[1] +
                   ", that do not each lie in a folder of their own with an aircraft.cfg. Installed together, "
                   "one would replace the other; the archive is not installed.",
               "it holds two aircraft files of one name, " + package.clashingAirFiles[0] + " and " +
                   package.clashingAirFiles[1] + ", and one would replace the other");
      else
        refuse(ctx, "Hangarpak does NOT support ''muti-aircraft'' package.",
               "it holds several aircraft in one folder, which are not installed");
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
  ctx.state.archiveRefusal = "FS98 cannot install SIF scenery packages";
}

std::vector<std::string> AircraftFolderNames(const std::vector<std::string>& archiveFolders) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (const auto& folder : archiveFolders) {
    const std::string own = core::lastComponent(folder);
    std::string name = own;
    for (int number = 2; !taken.insert(core::lower(name)).second; ++number)
      name = own + " (" + std::to_string(number) + ")";
    names.push_back(name);
  }
  return names;
}

void DispatchInstall(core::Context& ctx, const Package& package) {
  dispatch(ctx, package);
  ctx.windows().showProgress();
  ctx.windows().repaintProgress();
}

}  // namespace install
