#include "core/folder_name_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "core/folder_entries.h"
#include "core/name_fold.h"

namespace core {

namespace {

// What changes a folder's names, or where its path leads.
constexpr std::uint32_t kWatched =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

using Type = FolderNames::Type;

Type typeOf(unsigned char direntType) {
  return direntType == DT_REG ? Type::PlainFile : direntType == DT_DIR ? Type::Folder : Type::Unknown;
}

std::string joinHost(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path != "/") path += '/';
  path += name;
  return path;
}

}  // namespace

struct FolderNameCache::State {
  // One watched folder (one inode, which several paths may reach).
  struct Folder {
    struct Entry {
      std::string name;  // as on disk
      Type type = Type::Unknown;
    };
    dev_t dev = 0;
    ino_t ino = 0;
    std::unordered_multimap<std::string, Entry> names;  // by folded name
    std::vector<std::string> paths;

    // Adds the name, or sets the type of a name held.
    void add(const std::string& name, Type type = Type::Unknown) {
      auto key = foldedName(name);
      auto [first, last] = names.equal_range(key);
      for (auto it = first; it != last; ++it)
        if (it->second.name == name) {
          it->second.type = type;
          return;
        }
      names.emplace(std::move(key), Entry{name, type});
    }
    // Adds a name just made. One already held was added after it was made,
    // by a listing or by the program's word (madePlainFile), and its type
    // stands: what changed it since comes as a later change.
    void made(const std::string& name) {
      auto key = foldedName(name);
      auto [first, last] = names.equal_range(key);
      for (auto it = first; it != last; ++it)
        if (it->second.name == name) return;
      names.emplace(std::move(key), Entry{name, Type::Unknown});
    }
    void remove(const std::string& name) {
      auto [first, last] = names.equal_range(foldedName(name));
      for (auto it = first; it != last; ++it)
        if (it->second.name == name) {
          names.erase(it);
          return;
        }
    }
    // The entry spelled as name, else the first in byte order of those that
    // match it; nullptr when none does. key is the buffer its folded form
    // is written in.
    const Entry* find(const std::string& name, std::string& key) const {
      foldName(name, key);
      auto [first, last] = names.equal_range(key);
      const Entry* best = nullptr;
      for (auto it = first; it != last; ++it) {
        if (it->second.name == name) return &it->second;
        if (!best || it->second.name < best->name) best = &it->second;
      }
      return best;
    }
  };

  State(std::size_t max, NameWatch how)
      : maxFolders(max),
        watched(how == NameWatch::Kernel),
        inotify(watched ? ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC) : -1) {}
  ~State() {
    if (inotify >= 0) ::close(inotify);
  }

  // Takes in every change queued since the last call. A read that left
  // room for one more event of the longest name emptied the queue.
  void takeInChanges() {
    if (inotify < 0) return;
    alignas(inotify_event) char buffer[64 * 1024];
    constexpr ssize_t kFull = sizeof buffer - (sizeof(inotify_event) + NAME_MAX + 1);
    for (;;) {
      const ssize_t n = ::read(inotify, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        take(*event);
      }
      if (n <= kFull) return;
    }
  }

  void take(const inotify_event& event) {
    ++newsTaken;
    if (event.mask & IN_Q_OVERFLOW) {
      dropAll();
      return;
    }
    auto it = folders.find(event.wd);
    if (it == folders.end()) return;
    if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
      dropWatch(event.wd);
      return;
    }
    if (event.len == 0) return;
    const std::string name(event.name);  // NUL-padded
    // A folder cached below the name now leads elsewhere or nowhere.
    for (const auto& path : std::vector<std::string>(it->second.paths)) dropSubtree(joinHost(path, name));
    it = folders.find(event.wd);
    if (it == folders.end()) return;
    forgetRecent(it->second);
    if (event.mask & IN_CREATE)
      it->second.made(name);
    else if (event.mask & IN_MOVED_TO)
      it->second.add(name);
    else
      it->second.remove(name);
  }

  // The cached folder at path, listed now when it is not cached yet;
  // nullptr when it cannot be watched or listed.
  Folder* folderAt(const std::string& path) {
    Recent& recent = recentOfLength[path.size() % recentOfLength.size()];
    if (recent.folder && recent.path == path) return recent.folder;
    if (auto known = byPath.find(path); known != byPath.end()) {
      recent = {known->first, &folders.at(known->second), {}, nullptr, false};
      return recent.folder;
    }
    if (watched && inotify < 0) return nullptr;
    if (folders.size() >= maxFolders) dropAll();
    // Watched before it is listed, so nothing made in between is missed.
    const int wd = watched ? ::inotify_add_watch(inotify, path.c_str(), kWatched) : ++lastUnwatched;
    if (wd < 0) return nullptr;
    auto [it, isNew] = folders.try_emplace(wd);
    if (isNew && !list(path, it->second)) {
      folders.erase(it);
      unwatch(wd);
      return nullptr;
    }
    it->second.paths.push_back(path);
    addPath(path, wd);
    return &it->second;
  }

  // The entry of name in the folder at path, as Folder::find gives it, and
  // whether the folder is held at all. The name last asked of each recent
  // folder is answered again without a look in its table: the paths
  // resolved one after another pass through the same names.
  struct Found {
    bool held = false;
    const Folder::Entry* entry = nullptr;
  };
  Found find(const std::string& path, const std::string& name) {
    Folder* folder = folderAt(path);
    if (!folder) return {};
    Recent& recent = recentOfLength[path.size() % recentOfLength.size()];
    if (recent.folder != folder) return {true, folder->find(name, soughtKey)};
    if (!recent.asked || recent.name != name) {
      recent.name = name;
      recent.entry = folder->find(name, soughtKey);
      recent.asked = true;
    }
    return {true, recent.entry};
  }

  bool list(const std::string& path, Folder& folder) {
    const int dir = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    // The folder's identity tells a watched drive's folder replaced.
    struct stat st {};
    const bool read =
        (!watched || ::fstat(dir, &st) == 0) && readFolderEntries(dir, [&](std::string_view name, unsigned char type) {
          folder.add(std::string(name), typeOf(type));
        });
    ::close(dir);
    if (!read) return false;
    folder.dev = watched ? st.st_dev : 0;
    folder.ino = watched ? st.st_ino : 0;
    ++listings;
    return true;
  }

  void addPath(const std::string& path, int wd) {
    const auto added = watchOfPath.emplace(path, wd).first;
    byPath.emplace(added->first, wd);
  }

  void dropPath(std::map<std::string, int>::iterator at) {
    forgetRecent();
    const int wd = at->second;
    const std::string path = at->first;
    byPath.erase(at->first);
    watchOfPath.erase(at);
    auto it = folders.find(wd);
    if (it == folders.end()) return;
    auto& paths = it->second.paths;
    std::erase(paths, path);
    if (paths.empty()) {
      unwatch(wd);
      folders.erase(it);
    }
  }

  // Drops the folder and every cached folder below it.
  void dropSubtree(const std::string& folder) {
    if (auto it = watchOfPath.find(folder); it != watchOfPath.end()) dropPath(it);
    const std::string below = folder == "/" ? folder : folder + "/";
    for (auto it = watchOfPath.lower_bound(below); it != watchOfPath.end() && it->first.starts_with(below);)
      dropPath(it++);
  }

  void dropWatch(int wd) {
    auto it = folders.find(wd);
    if (it == folders.end()) return;
    forgetRecent();
    for (const auto& path : std::vector<std::string>(it->second.paths)) dropSubtree(path);
    if (auto left = folders.find(wd); left != folders.end()) {
      unwatch(wd);
      folders.erase(left);
    }
  }

  void dropAll() {
    forgetRecent();
    for (const auto& entry : folders) unwatch(entry.first);
    folders.clear();
    byPath.clear();
    watchOfPath.clear();
    roots.clear();
  }

  void forgetRecent() { recentOfLength.fill({}); }
  // Forgets what was found in the folder, whose names changed.
  void forgetRecent(const Folder& folder) {
    for (Recent& recent : recentOfLength)
      if (recent.folder == &folder) recent = {};
  }

  void unwatch(int wd) const {
    if (watched) ::inotify_rm_watch(inotify, wd);
  }

  // What a watch would have told of the name at hostPath: the folder that
  // holds it, when cached, names it or not as the disk now does, and the
  // folders cached at or below it are dropped.
  void takeChangeOf(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == hostPath.size()) return;
    dropSubtree(hostPath);
    const auto known = byPath.find(slash == 0 ? std::string_view("/") : std::string_view(hostPath).substr(0, slash));
    if (known == byPath.end()) return;
    Folder& folder = folders.at(known->second);
    const std::string name = hostPath.substr(slash + 1);
    forgetRecent(folder);
    struct stat st;
    if (::lstat(hostPath.c_str(), &st) == 0)
      folder.add(name, S_ISREG(st.st_mode) ? Type::PlainFile : S_ISDIR(st.st_mode) ? Type::Folder : Type::Unknown);
    else
      folder.remove(name);
  }

  const std::size_t maxFolders;
  const bool watched;
  const int inotify;
  int lastUnwatched = 0;                             // the last number given a folder that is not watched
  std::map<std::string, bool> roots;                 // an unwatched cache's drive folders, and whether each is a folder
  std::unordered_map<int, Folder> folders;           // by watch descriptor
  std::map<std::string, int> watchOfPath;            // sorted, so that a subtree is one range
  std::unordered_map<std::string_view, int> byPath;  // the same, hashed, keys in watchOfPath's
  std::size_t listings = 0;
  std::uint64_t newsTaken = 0;  // the kernel's changes taken in so far
  // The folders found lately, one for each length of path (modulo), and
  // the name last asked of each: the paths resolved one after another
  // mostly share their first folders and names, which are then found
  // without hashing their paths and names again. Views of watchOfPath's
  // keys and of the folders' entries; all forgotten whenever a folder is
  // dropped, and a folder's own when a name is added to it or removed.
  struct Recent {
    std::string_view path;
    Folder* folder = nullptr;
    std::string name;
    const Folder::Entry* entry = nullptr;  // nullptr: none matches name
    bool asked = false;
  };
  std::array<Recent, 64> recentOfLength{};
  std::string soughtKey;  // the folded name a look-up seeks
  mutable std::mutex mutex;
};

FolderNameCache::FolderNameCache(std::size_t maxFolders, NameWatch watch)
    : state_(std::make_unique<State>(maxFolders, watch)) {}

FolderNameCache::~FolderNameCache() = default;

bool FolderNameCache::enterRoot(const std::string& hostRoot) {
  return enter(hostRoot, true);
}

bool FolderNameCache::Operation::enterRoot(const std::string& hostRoot) {
  for (const auto& [root, isFolder] : roots_)
    if (root == hostRoot) return isFolder;
  const bool isFolder = cache_.enter(hostRoot, roots_.empty());
  roots_.emplace_back(hostRoot, isFolder);
  return isFolder;
}

bool FolderNameCache::enter(const std::string& hostRoot, bool takeChanges) {
  std::lock_guard lock(state_->mutex);
  if (takeChanges) state_->takeInChanges();
  struct stat st;
  if (!state_->watched) {
    auto [known, added] = state_->roots.try_emplace(hostRoot, false);
    if (added) known->second = ::stat(hostRoot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return known->second;
  }
  // The root of the host's tree is a folder, and always the same one: a
  // drive mapped to it (Wine's Z:, where the program's own folders lie) is
  // not looked at again for each operation.
  if (hostRoot == "/") return true;
  const bool isFolder = ::stat(hostRoot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  // The drive's folder itself is watched by no parent: a folder now there in
  // place of the one listed is another one.
  if (auto known = state_->byPath.find(hostRoot); known != state_->byPath.end()) {
    const auto& folder = state_->folders.at(known->second);
    if (!isFolder || folder.dev != st.st_dev || folder.ino != st.st_ino) state_->dropSubtree(hostRoot);
  }
  return isFolder;
}

std::optional<std::string> FolderNameCache::spelling(const std::string& hostFolder, const std::string& name) {
  return look(hostFolder, name).name;
}

FolderNames::Lookup FolderNameCache::look(const std::string& hostFolder, const std::string& name) {
  {
    std::lock_guard lock(state_->mutex);
    if (const auto found = state_->find(hostFolder, name); found.held) {
      if (!found.entry) return {std::nullopt, true};
      return {found.entry->name, false, found.entry->type};
    }
  }
  DiskFolderNames disk;
  return {disk.spelling(hostFolder, name), false};
}

void FolderNameCache::changed(const std::string& hostPath) {
  std::lock_guard lock(state_->mutex);
  if (state_->watched) return;
  state_->roots.erase(hostPath);
  state_->takeChangeOf(hostPath);
}

std::uint64_t FolderNameCache::newsTaken() const {
  std::lock_guard lock(state_->mutex);
  return state_->newsTaken;
}

void FolderNameCache::madePlainFile(const std::string& hostPath, std::uint64_t newsBefore) {
  std::lock_guard lock(state_->mutex);
  if (!state_->watched) {
    state_->roots.erase(hostPath);
    state_->takeChangeOf(hostPath);
    return;
  }
  // Changes taken in since may have been the file's own making and what
  // became of it after: its type is then left to the changes.
  if (state_->newsTaken != newsBefore) return;
  const auto slash = hostPath.find_last_of('/');
  if (slash == std::string::npos || slash + 1 == hostPath.size()) return;
  const auto known =
      state_->byPath.find(slash == 0 ? std::string_view("/") : std::string_view(hostPath).substr(0, slash));
  if (known == state_->byPath.end()) return;
  auto& folder = state_->folders.at(known->second);
  state_->forgetRecent(folder);
  folder.add(hostPath.substr(slash + 1), Type::PlainFile);
}

bool FolderNameCache::watches() const {
  return state_->watched && state_->inotify >= 0;
}

void FolderNameCache::listed(const std::string& hostFolder, const std::vector<Listed>& names) {
  std::lock_guard lock(state_->mutex);
  if (state_->watched || state_->byPath.contains(hostFolder)) return;
  if (state_->folders.size() >= state_->maxFolders) state_->dropAll();
  const int id = ++state_->lastUnwatched;
  auto& folder = state_->folders[id];
  folder.names.reserve(names.size());
  for (const auto& [name, type] : names) folder.add(name, type);
  folder.paths.push_back(hostFolder);
  state_->addPath(hostFolder, id);
}

std::size_t FolderNameCache::listings() const {
  std::lock_guard lock(state_->mutex);
  return state_->listings;
}

std::size_t FolderNameCache::foldersHeld() const {
  std::lock_guard lock(state_->mutex);
  return state_->byPath.size();
}

}  // namespace core
