#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.h"

namespace journal {

// What one step of an installation did. The words are what the database,
// `hangarpak-cli history` and its JSON show.
enum class EffectKind {
  FolderCreated,
  FileCreated,
  FileOverwritten,
  FileDeleted,
  FileRenamed,
  FolderRemoved,
  KeyWritten,
  SettingWritten,
  RegistryValueWritten,
  RegistryKeyDeleted,
  ProgramRun,
  // Nothing changed: what the installation had to tell (a member of the
  // archive left out or kept elsewhere), in note.
  Noted,
};
std::string_view wordOf(EffectKind kind);
std::optional<EffectKind> effectKindOf(std::string_view word);

// How an installation ended: counted, refused (ended normally without adding
// to the counter), failed (a run-time error ended the program) or
// interrupted (the program was killed or the machine stopped before it
// ended: what an installation holds until it ends).
enum class Outcome { Counted, Refused, Failed, Interrupted };
std::string_view wordOf(Outcome outcome);
std::optional<Outcome> outcomeOf(std::string_view word);

// InProgress: the installation runs, or ran when the program was killed;
// the next start rolls it back to InterruptedRolledBack. Uninstalling: an
// uninstall runs or was killed; the next start finishes it. RolledBack: a
// refused or failed installation whose changes were put back as it ended.
enum class InstallState {
  Installed,
  Uninstalled,
  PartlyUninstalled,
  InProgress,
  InterruptedRolledBack,
  Uninstalling,
  RolledBack
};
std::string_view wordOf(InstallState state);
std::optional<InstallState> installStateOf(std::string_view word);

std::string_view wordOf(core::PackageKind kind);

// One effect. Paths are Windows paths as the installers named them. Which
// fields are used depends on the kind: size/newHash for what a file now
// holds, oldHash/backup for what it held (backup: a file name in the backup
// folder), section/key/oldValue/newValue for a profile key (file in path),
// a setting (application in path) or a registry value (key path in path,
// hive word "CR"/"LM" in section, value name in key); note for what the
// journal cannot reverse.
struct Effect {
  int seq = 0;
  EffectKind kind = EffectKind::FileCreated;
  std::string path;
  std::optional<std::uint64_t> size;
  std::string oldHash, newHash, backup;
  std::string section, key;
  std::optional<std::string> oldValue;  // nullopt: absent
  std::string newValue;
  std::string note;
};

// What a row of the journal records: an archive's installation, or one of
// the manager's edits of the catalogue (hide, swap, rename ...), or a
// deletion of an aircraft folder, panel or sound set by the manager. An
// edit of an installation's files is undone with it; a deletion is not
// (what it deleted is gone from the installation too).
enum class Change { Install, Edit, Deletion };
std::string_view wordOf(Change change);
std::optional<Change> changeOf(std::string_view word);

struct Installation {
  std::int64_t id = 0;
  Change change = Change::Install;
  // An edit or deletion in words ("hide \"Swift Sport\""); "" for an
  // installation, which its archive names.
  std::string description;
  std::string time;  // UTC, "2026-12-07T12:40:47Z"
  std::string archivePath;
  std::uint64_t archiveSize = 0;
  std::string archiveHash;
  int simVersion = 0;
  std::string simFolder;
  core::PackageKind kind = core::PackageKind::None;
  std::string folder;
  Outcome outcome = Outcome::Counted;
  InstallState state = InstallState::Installed;
};

// Whether an uninstall has anything to take back: an installation that
// stands installed (a refused one, from before refusals were rolled back,
// installed nothing), or one partly uninstalled or rolled back.
bool uninstallable(const Installation& installation);

// What the history says of an installation in words: its state, or for one
// refused or failed, that and whether its changes were put back
// ("failed, rolled back"); never "installed" for one that was not. An edit
// reads "made", "undone" or "partly undone".
std::string standing(const Installation& installation);

// What the history names a row by: its archive, or an edit's description.
const std::string& subject(const Installation& installation);

// A row of the history.
struct InstallationSummary {
  Installation installation;
  int filesCreated = 0;
  int filesOverwritten = 0;
  int keysWritten = 0;
};

}  // namespace journal
