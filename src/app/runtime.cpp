#include "app/runtime.h"

#include "core/atomic_file.h"
#include "core/errors.h"

namespace app {

namespace {

// The application folder must lie on a drive, or no temporary folder could be
// named. A table that lacks one (a Wine prefix whose z: link was removed)
// gets "/" on the last free letter.
void reachAppFolder(core::DriveTable& drives, const std::string& appFolder) {
  if (drives.toWindows(appFolder)) return;
  for (char letter = 'z'; letter >= 'd'; --letter) {
    if (!drives.hostRoot(letter)) {
      drives.set(letter, "/", "default");
      return;
    }
  }
}

}  // namespace

Runtime::Runtime(core::Environment env, const std::string& executablePath, core::Dialogs& dialogs,
                 core::Printer& printer)
    : locations_(core::Locations::fromEnvironment(env, executablePath)),
      settings_(std::make_unique<core::IniSettingsStore>(locations_.configHome)),
      drives_(core::DriveTable::fromEnvironment(env, settings_.get())) {
  reachAppFolder(drives_, locations_.appFolder);
  // The application folder holds TempZip and the lock file; it is the
  // executable's folder on the simulator's system and always there, so make
  // it so here. A failure shows later, where the folder is used.
  core::step([&] { core::makeHostFolders(locations_.appFolder); });
  fs_ = core::makeHostFileSystem(drives_);
  registry_ = std::make_unique<core::IniRegistryStore>(locations_.registryFile);
  launcher_ = core::makePosixProcessLauncher(env);
  context_ = std::make_unique<core::Context>(std::move(env), locations_, drives_, *fs_, *settings_, *registry_,
                                             *launcher_, dialogs, printer);
}

Runtime::~Runtime() = default;

}  // namespace app
