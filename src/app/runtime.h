#pragma once

#include <memory>
#include <string>

#include "core/context.h"
#include "core/environment.h"
#include "core/folder_name_cache.h"
#include "core/fs.h"
#include "core/layered_registry.h"
#include "core/locations.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/trash.h"
#include "core/wine_prefix.h"
#include "core/writes_in_progress.h"
#include "journal/recovery.h"

namespace core {
class Dialogs;
class Printer;
}  // namespace core

namespace journal {
class Journalling;
class Recorder;
}  // namespace journal

namespace app {

// The real services of a program run, built in one place from the process
// environment and the executable's path, and owned for the run: the
// locations, the settings store, the drive table (from the environment and
// the settings), the host file system, the registry store and the process
// launcher, each wrapped so that every installation is recorded in the
// install journal. The caller brings the dialogs and the printer (Qt ones for the
// window program, terminal ones for hangarpak-cli) and keeps them alive
// longer than the runtime. A command that only reads the simulator's folders
// and ends gives NameWatch::OwnChangesOnly: its file system then lists each
// folder once and watches none.
class Runtime {
 public:
  Runtime(core::Environment env, const std::string& executablePath, core::Dialogs& dialogs, core::Printer& printer,
          core::NameWatch watch = core::NameWatch::Kernel);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  core::Context& context() { return *context_; }

  // Start-up's tidying after an earlier run that was killed: when this
  // process holds the single-instance lock or can take it for the moment
  // (an instance that runs may be installing), first the installations it
  // left unfinished are rolled back and its uninstalls finished (returned:
  // the caller tells the user once); then the dead temporary files of
  // atomic writes (core::RemoveLeftovers, so after the settings are loaded)
  // and, with the lock, TempZip.
  journal::Recovery tidyAfterEarlierRun(bool holdsInstanceLock = false);

  // Before anything is installed: a journal that cannot record (not a
  // database, damaged, a folder, not writable) is named to the user, who is
  // asked (Yes/No) whether to move it aside and start a new one. usable
  // tells whether installations can now be recorded; said is what to tell
  // ("" for a journal that was fine).
  struct JournalCheck {
    bool usable = true;
    std::string said;
  };
  JournalCheck checkJournal();
  const core::Locations& locations() const { return locations_; }
  const core::DriveTable& drives() const { return drives_; }
  core::IniRegistryStore& ownRegistry() { return *registry_; }
  core::IniSettingsStore& settings() { return *settings_; }
  // What records the installations of this run into the install journal.
  journal::Recorder& recorder();

 private:
  core::Locations locations_;
  std::unique_ptr<core::IniSettingsStore> settings_;
  core::DriveTable drives_;
  std::unique_ptr<core::WritesInProgress> writes_;
  std::unique_ptr<core::FileSystem> fs_;
  std::unique_ptr<core::IniRegistryStore> registry_;
  std::unique_ptr<core::WinePrefixes> prefixes_;
  std::unique_ptr<core::LayeredRegistryStore> layered_;
  std::unique_ptr<core::ProcessLauncher> launcher_;
  std::unique_ptr<core::Trash> trash_;
  std::unique_ptr<journal::Journalling> journalling_;
  std::unique_ptr<core::Context> context_;
};

}  // namespace app
