#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/paths.h"

namespace core {

// The names of the folders a resolution has looked into, keyed by their
// case-folded form, so that finding a name that is not there yet (every new
// file of an installation) costs no listing of its folder.
//
// The kernel keeps each cached folder's names true: every folder listed is
// watched (inotify) for names made, removed and renamed in it, and for its
// own removal or move. Each resolution first takes in what happened since
// the last one, in the order it happened, whoever did it: this program's
// own writes and those of any other process alike. So a name made behind
// the program's back is found, and a folder of another case made meanwhile
// is reused rather than doubled. A folder whose path may now lead elsewhere
// (it, or a folder on its way, was moved or removed, or the drive's folder
// is another one) is dropped with everything below it and listed afresh when
// next needed. When the kernel's queue of changes overflowed, everything is
// dropped. A folder that cannot be watched (no inotify, the user's watches
// used up) or listed is asked on disk every time, as DiskFolderNames does.
//
// An operation of the file system resolves its paths through operation():
// the changes are taken in once, at its first resolution, and each drive's
// folder is looked at once, however many paths it resolves.
//
// A run that has the simulator's folders to itself (a command of
// hangarpak-cli that only reads them) watches nothing: each folder is listed
// once and trusted, and the program's own changes are told through
// changed(). Its drive's folders are looked at once.
//
// At most maxFolders folders are kept; past that the cache starts afresh.
// Safe to use from several threads.
enum class NameWatch : std::uint8_t { Kernel, OwnChangesOnly };

class FolderNameCache : public FolderNames {
 public:
  explicit FolderNameCache(std::size_t maxFolders = 4096, NameWatch watch = NameWatch::Kernel);
  ~FolderNameCache() override;
  FolderNameCache(const FolderNameCache&) = delete;
  FolderNameCache& operator=(const FolderNameCache&) = delete;

  bool enterRoot(const std::string& hostRoot) override;
  std::optional<std::string> spelling(const std::string& hostFolder, const std::string& name) override;
  Lookup look(const std::string& hostFolder, const std::string& name) override;
  // The program made, removed or renamed what the host path names; the
  // kernel tells a watching cache, so only one that does not watch takes it.
  void changed(const std::string& hostPath);
  // How many of the kernel's changes were taken in so far.
  std::uint64_t newsTaken() const;
  // The program made a plain file at the host path, with a create that
  // fails on a name taken, after newsTaken() gave newsBefore: the folder
  // holding it, when held, knows the name as a plain file until a change
  // of the name comes, so that a move of it need not look at it first. When
  // changes were taken in meanwhile (another thread's operation), the name
  // is left to them. A cache that does not watch takes it as changed().
  void madePlainFile(const std::string& hostPath, std::uint64_t newsBefore);
  // Whether the kernel tells the cache of changes made behind its back.
  bool watches() const;
  // Every name of a host folder and its type, as the program has just listed
  // it: a cache that does not watch keeps them rather than list the folder
  // again.
  struct Listed {
    std::string name;
    Type type = Type::Unknown;
  };
  void listed(const std::string& hostFolder, const std::vector<Listed>& names);

  // How many times a folder was listed so far, and how many are held now.
  std::size_t listings() const;
  std::size_t foldersHeld() const;

  // The cache as one operation sees it; lives no longer than the cache.
  class Operation : public FolderNames {
   public:
    explicit Operation(FolderNameCache& cache) : cache_(cache) {}
    bool enterRoot(const std::string& hostRoot) override;
    std::optional<std::string> spelling(const std::string& hostFolder, const std::string& name) override {
      return cache_.spelling(hostFolder, name);
    }
    Lookup look(const std::string& hostFolder, const std::string& name) override {
      return cache_.look(hostFolder, name);
    }

   private:
    FolderNameCache& cache_;
    std::vector<std::pair<std::string, bool>> roots_;  // each drive's folder entered, and whether it is a folder
  };
  [[nodiscard]] Operation operation() { return Operation(*this); }

 private:
  struct State;
  std::unique_ptr<State> state_;
  // enterRoot, taking in the kernel's changes first or not.
  bool enter(const std::string& hostRoot, bool takeChanges);
};

}  // namespace core
