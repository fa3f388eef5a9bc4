#include "core/folder_name_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "core/name_fold.h"

namespace core {

namespace {

// What changes a folder's names, or where its path leads.
constexpr std::uint32_t kWatched =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

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
    dev_t dev = 0;
    ino_t ino = 0;
    std::unordered_multimap<std::string, std::string> names;  // folded name -> name on disk
    std::vector<std::string> paths;

    void add(const std::string& name) {
      auto key = foldedName(name);
      auto [first, last] = names.equal_range(key);
      for (auto it = first; it != last; ++it)
        if (it->second == name) return;
      names.emplace(std::move(key), name);
    }
    void remove(const std::string& name) {
      auto [first, last] = names.equal_range(foldedName(name));
      for (auto it = first; it != last; ++it)
        if (it->second == name) {
          names.erase(it);
          return;
        }
    }
    std::optional<std::string> spelling(const std::string& name) const {
      auto [first, last] = names.equal_range(foldedName(name));
      const std::string* best = nullptr;
      for (auto it = first; it != last; ++it) {
        if (it->second == name) return name;
        if (!best || it->second < *best) best = &it->second;
      }
      if (!best) return std::nullopt;
      return *best;
    }
  };

  explicit State(std::size_t max) : maxFolders(max), inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~State() {
    if (inotify >= 0) ::close(inotify);
  }

  // Takes in every change queued since the last call.
  void takeInChanges() {
    if (inotify < 0) return;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t n = ::read(inotify, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        take(*event);
      }
    }
  }

  void take(const inotify_event& event) {
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
    if (event.mask & (IN_CREATE | IN_MOVED_TO))
      it->second.add(name);
    else
      it->second.remove(name);
  }

  // The cached folder at path, listed now when it is not cached yet;
  // nullptr when it cannot be watched or listed.
  Folder* folderAt(const std::string& path) {
    if (auto known = watchOfPath.find(path); known != watchOfPath.end()) return &folders.at(known->second);
    if (inotify < 0) return nullptr;
    if (folders.size() >= maxFolders) dropAll();
    // Watched before it is listed, so nothing made in between is missed.
    const int wd = ::inotify_add_watch(inotify, path.c_str(), kWatched);
    if (wd < 0) return nullptr;
    auto [it, isNew] = folders.try_emplace(wd);
    if (isNew && !list(path, it->second)) {
      folders.erase(it);
      ::inotify_rm_watch(inotify, wd);
      return nullptr;
    }
    it->second.paths.push_back(path);
    watchOfPath.emplace(path, wd);
    return &it->second;
  }

  bool list(const std::string& path, Folder& folder) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    DIR* dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
      ::close(fd);
      return false;
    }
    folder.dev = st.st_dev;
    folder.ino = st.st_ino;
    while (dirent* e = ::readdir(dir)) {
      const std::string_view name(e->d_name);
      if (name != "." && name != "..") folder.add(std::string(name));
    }
    ::closedir(dir);
    ++listings;
    return true;
  }

  void dropPath(std::map<std::string, int>::iterator at) {
    const int wd = at->second;
    const std::string path = at->first;
    watchOfPath.erase(at);
    auto it = folders.find(wd);
    if (it == folders.end()) return;
    auto& paths = it->second.paths;
    std::erase(paths, path);
    if (paths.empty()) {
      ::inotify_rm_watch(inotify, wd);
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
    for (const auto& path : std::vector<std::string>(it->second.paths)) dropSubtree(path);
    if (auto left = folders.find(wd); left != folders.end()) {
      ::inotify_rm_watch(inotify, wd);
      folders.erase(left);
    }
  }

  void dropAll() {
    for (const auto& entry : folders) ::inotify_rm_watch(inotify, entry.first);
    folders.clear();
    watchOfPath.clear();
  }

  const std::size_t maxFolders;
  const int inotify;
  std::unordered_map<int, Folder> folders;  // by watch descriptor
  std::map<std::string, int> watchOfPath;   // sorted, so that a subtree is one range
  std::size_t listings = 0;
  mutable std::mutex mutex;
};

FolderNameCache::FolderNameCache(std::size_t maxFolders) : state_(std::make_unique<State>(maxFolders)) {}

FolderNameCache::~FolderNameCache() = default;

bool FolderNameCache::enterRoot(const std::string& hostRoot) {
  std::lock_guard lock(state_->mutex);
  state_->takeInChanges();
  struct stat st;
  const bool isFolder = ::stat(hostRoot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  // The drive's folder itself is watched by no parent: a folder now there in
  // place of the one listed is another one.
  if (auto known = state_->watchOfPath.find(hostRoot); known != state_->watchOfPath.end()) {
    const auto& folder = state_->folders.at(known->second);
    if (!isFolder || folder.dev != st.st_dev || folder.ino != st.st_ino) state_->dropSubtree(hostRoot);
  }
  return isFolder;
}

std::optional<std::string> FolderNameCache::spelling(const std::string& hostFolder, const std::string& name) {
  {
    std::lock_guard lock(state_->mutex);
    if (const auto* folder = state_->folderAt(hostFolder)) return folder->spelling(name);
  }
  DiskFolderNames disk;
  return disk.spelling(hostFolder, name);
}

std::size_t FolderNameCache::listings() const {
  std::lock_guard lock(state_->mutex);
  return state_->listings;
}

std::size_t FolderNameCache::foldersHeld() const {
  std::lock_guard lock(state_->mutex);
  return state_->watchOfPath.size();
}

}  // namespace core
