#include "core/context.h"

#include "core/errors.h"

namespace core {

Context::Context(Environment envIn, Locations locationsIn, DriveTable& drivesIn, FileSystem& fsIn,
                 SettingsStore& settingsIn, RegistryStore& registryIn, ProcessLauncher& processesIn, Dialogs& dialogsIn,
                 Printer& printerIn)
    : env(std::move(envIn)),
      locations(std::move(locationsIn)),
      drives(drivesIn),
      fs(fsIn),
      settings(settingsIn),
      registry(registryIn),
      processes(processesIn),
      dialogs(dialogsIn),
      printer(printerIn) {
  auto win = drives.toWindows(locations.appFolder);
  if (!win) {
    // The application folder must be reachable through some drive; z: = "/"
    // is the usual one. A table without it gets no folder, and every use of
    // TempZip then fails with "device unavailable".
    throw RuntimeError(err::DeviceUnavailable,
                       "The application folder " + locations.appFolder + " is on no drive of the drive table");
  }
  appFolderWin_ = *win;
}

void Context::refreshAppFolder() {
  if (auto win = drives.toWindows(locations.appFolder)) appFolderWin_ = *win;
}

}  // namespace core
