#include "app/runtime.h"

#include <cstdlib>

#include "core/atomic_file.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/leftovers.h"
#include "core/single_instance.h"
#include "core/temp_folders.h"
#include "core/wine_prefix.h"
#include "journal/journal_check.h"
#include "journal/recording_services.h"
#include "journal/store.h"
#include "plan/planner.h"

namespace app {

Runtime::Runtime(core::Environment env, const std::string& executablePath, core::Dialogs& dialogs,
                 core::Printer& printer, core::NameWatch watch)
    : locations_(core::Locations::fromEnvironment(env, executablePath)),
      settings_(std::make_unique<core::IniSettingsStore>(locations_.configHome)),
      drives_(core::DriveTable::fromEnvironment(env, settings_.get())) {
  drives_.reach(locations_.appFolder);
  // The application folder holds TempZip and the lock file; it is the
  // executable's folder on the simulator's system and always there, so make
  // it so here. A failure shows later, where the folder is used.
  core::step([&] { core::makeHostFolders(locations_.appFolder); });
  writes_ = std::make_unique<core::WritesInProgress>(locations_.appFolder);
  fs_ = core::makeHostFileSystem(drives_, writes_.get(), watch);
  registry_ = std::make_unique<core::IniRegistryStore>(locations_.registryFile);
  prefixes_ = std::make_unique<core::WinePrefixes>(core::findWinePrefixes(env));
  layered_ = std::make_unique<core::LayeredRegistryStore>(*registry_, *prefixes_);
  launcher_ = core::makePosixProcessLauncher(env);
  trash_ = core::makeDesktopTrash(env);
  journalling_ = std::make_unique<journal::Journalling>(locations_.appFolder, *fs_, *settings_, *layered_, *launcher_);
  context_ =
      std::make_unique<core::Context>(std::move(env), locations_, drives_, journalling_->fs, journalling_->settings,
                                      journalling_->registry, journalling_->launcher, dialogs, printer);
  journalling_->recorder.attach(*context_);
  context_->winePrefixes = prefixes_.get();
  context_->trash = trash_.get();
  // The prefix of the version last chosen, so that the drive table is the
  // simulator's before anything looks at a path.
  core::step([&] {
    core::UseSimulatorPrefix(*context_, std::atoi(settings_->get("Hangarpak", "Options", "FS Version", "1").c_str()));
  });
}

Runtime::~Runtime() = default;

journal::Recorder& Runtime::recorder() {
  return journalling_->recorder;
}

journal::Recovery Runtime::tidyAfterEarlierRun(bool holdsInstanceLock) {
  std::unique_ptr<core::InstanceLock> lock;
  if (!holdsInstanceLock) core::step([&] { lock = core::InstanceLock::acquire(core::lockFilePath(locations_)); });
  journal::Recovery recovery;
  if (holdsInstanceLock || lock) recovery = journal::RecoverUnfinished(*context_);
  core::RemoveLeftovers(*context_);
  if (holdsInstanceLock || lock) {
    core::ClearTempZip(*context_);
    plan::RemoveAbandonedPlanFolders(locations_);
  }
  return recovery;
}

Runtime::JournalCheck Runtime::checkJournal() {
  const std::string& folder = locations_.appFolder;
  const auto problem = journal::JournalProblem(folder);
  if (!problem) return {};
  const std::string path = journal::databasePath(folder);
  const std::string question = "The install journal " + path + " cannot be used: " + *problem +
                               ".\r\n\r\nMove it aside and start a new journal? The moved file keeps its "
                               "history. Without a journal nothing is installed.";
  if (context_->dialogs.msgBox(question, "Install journal", core::Buttons::YesNo, core::Icon::Exclamation) !=
      core::Answer::Yes)
    return {false, "Nothing is installed while the install journal " + path + " cannot be used (" + *problem +
                       "). Move it aside or remove it, or answer yes (install --yes) to have it moved."};
  std::string aside;
  try {
    aside = journal::MoveJournalAside(folder);
  } catch (const core::RuntimeError& e) {
    return {false, "The install journal could not be moved aside: " + core::inWords(e) +
                       ". Make its folder writable, or move the file yourself, then install again."};
  }
  return {true, "The install journal " + path + " was moved aside as " + aside + "; a new journal was started."};
}

}  // namespace app
