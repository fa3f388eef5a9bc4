#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "journal/model.h"

struct sqlite3;

namespace journal {

// What tells an archive apart: its size and its content hash.
struct ArchivePrint {
  std::uint64_t size = 0;
  std::string hash;
  bool operator==(const ArchivePrint&) const = default;
};

// The install journal's database: one SQLite file (WAL, synced commits, foreign keys on)
// with the installations and their effects in order. Failures throw
// core::RuntimeError.
class Store {
 public:
  // Opens (creating when missing) the database at a host path.
  explicit Store(const std::string& hostPath);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Written ahead, each call one committed transaction: an installation's
  // row as it starts (returns its id), each effect as it is about to happen
  // (seq as given; its backup made first), an effect that did not happen
  // after all, and at the end the installation as it ended (its archive's
  // size and hash too, known only then) with its effects, effect(0) to
  // effect(count - 1) (numbered 1.. in that order), which replace those
  // written ahead.
  std::int64_t begin(const Installation& installation);
  void addEffect(std::int64_t id, const Effect& effect);
  void removeEffect(std::int64_t id, int seq);
  void finish(const Installation& installation, std::size_t count,
              const std::function<const Effect&(std::size_t)>& effect);
  void setState(std::int64_t id, InstallState state);
  // Takes out a row and its effects: an edit that changed nothing.
  void drop(std::int64_t id);
  // The installation's effects no longer name their backups: done before
  // the backups are removed, so that no row names a file that is gone.
  void forgetBackups(std::int64_t id);

  // Installations a killed program left in progress or uninstalling,
  // newest first.
  std::vector<std::int64_t> unfinished();

  // Oldest first.
  std::vector<InstallationSummary> installations();
  std::optional<Installation> installation(std::int64_t id);
  // In the order they happened.
  std::vector<Effect> effects(std::int64_t id);

  // The size and content hash of each archive whose installation stands
  // installed (counted, nothing of it uninstalled or rolled back).
  std::vector<ArchivePrint> installedArchives();

  // The newest installation, not uninstalled, that left this content (hash)
  // at this Windows path (compared without regard to ASCII case).
  std::optional<std::int64_t> originOf(std::string_view windowsPath, std::string_view contentHash);

  // The edits after installation id that stand made (wholly or partly),
  // newest first.
  std::vector<std::int64_t> standingEditsAfter(std::int64_t id);
  // The first installation after id, standing installed (wholly or partly),
  // that overwrote this Windows path: its id and the effect's seq.
  std::optional<std::pair<std::int64_t, int>> nextOverwrite(std::string_view windowsPath, std::int64_t id);
  // Gives the effect of installation toId (seq toSeq) on a file what the
  // effect `from` of installation fromId found there before it: its old
  // content and kept backup (or that the file was not there). The backup
  // then belongs to toId's effect, and fromId's effect is a note that says
  // so; returns the name of the backup toId's effect had kept, which no row
  // names any more.
  std::string handOver(const Effect& from, std::int64_t fromId, std::int64_t toId, int toSeq);

  // The first installation after id, standing installed (wholly or partly),
  // that changed something inside the folder (a Windows path).
  std::optional<std::int64_t> nextInside(std::string_view windowsFolder, std::int64_t id);
  // Moves the effect `folder` (a folder made) of installation fromId to
  // installation toId, before its first effect: removed, when empty, as
  // the last step of toId's uninstall.
  void giveFolder(const Effect& folder, std::int64_t fromId, std::int64_t toId);

  // The backup file names any effect refers to.
  std::set<std::string> backupNames();

 private:
  sqlite3* db_ = nullptr;
};

// The journal's files in the application folder (a host folder).
std::string databasePath(const std::string& appFolder);
std::string backupFolder(const std::string& appFolder);

// The journal of the application folder for reading, when it has one;
// nullptr when no installation was ever journalled there (nothing is made).
std::unique_ptr<Store> openExistingJournal(const std::string& appFolder);

}  // namespace journal
