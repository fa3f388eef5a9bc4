#include "core/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <optional>

#include "core/change_journal.h"
#include "core/clock_text.h"
#include "core/context.h"
#include "core/environment.h"
#include "core/fs.h"

namespace core {

namespace {

std::optional<struct stat> statOf(const std::string& path, bool followLinks = true) {
  struct stat st {};
  if ((followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) return std::nullopt;
  return st;
}

std::string parentOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// The nearest folder of the path that exists (the path itself when it does).
std::string nearestExisting(std::string path) {
  while (path != "/" && !statOf(path)) path = parentOf(path);
  return path;
}

// The mount point of the file system that holds the path: the last folder
// upwards that is still on the same device.
std::string topDirectoryOf(const std::string& path) {
  const auto st = statOf(path);
  if (!st) return "/";
  std::string top = path;
  while (top != "/") {
    const std::string up = parentOf(top);
    const auto upSt = statOf(up);
    if (!upSt || upSt->st_dev != st->st_dev) break;
    top = up;
  }
  return top;
}

bool makeFolders(const std::string& path, mode_t mode) {
  if (auto st = statOf(path)) return S_ISDIR(st->st_mode);
  if (path != "/" && !makeFolders(parentOf(path), mode)) return false;
  return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

// A folder of the user's own that is not a symbolic link.
bool ownFolder(const std::string& path) {
  const auto st = statOf(path, false);
  return st && S_ISDIR(st->st_mode) && st->st_uid == ::getuid();
}

std::string deletionDate() {
  return localTimeText(std::time(nullptr), "%Y-%m-%dT%H:%M:%S");
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

class FolderItem : public TrashItem {
 public:
  FolderItem(std::string source, std::string trashed) : source_(std::move(source)), trashed_(std::move(trashed)) {}

  bool put(const std::string& hostFile) override {
    if (hostFile.compare(0, source_.size() + 1, source_ + "/") != 0) return false;
    const std::string target = trashed_ + hostFile.substr(source_.size());
    if (!makeFolders(parentOf(target), 0700)) return false;
    // Never over something already in the item; rename would replace it.
    if (statOf(target, false)) return false;
    return ::rename(hostFile.c_str(), target.c_str()) == 0;
  }
  const std::string& trashedFolder() const override { return trashed_; }

 private:
  std::string source_;
  std::string trashed_;
};

// One trash folder (with files/ and info/) and how its items name their
// original place: absolute, or relative to the top directory it serves.
struct TrashFolder {
  std::string root;
  std::string relativeTo;  // empty: absolute paths
};

std::unique_ptr<TrashItem> openIn(const TrashFolder& trash, const std::string& folder) {
  const std::string files = trash.root + "/files";
  const std::string info = trash.root + "/info";
  if (!makeFolders(files, 0700) || !makeFolders(info, 0700)) return nullptr;
  // The files must be able to move by rename: the trash on the folder's own
  // file system.
  const auto folderSt = statOf(folder);
  const auto filesSt = statOf(files);
  if (!folderSt || !filesSt || folderSt->st_dev != filesSt->st_dev) return nullptr;

  std::string original = folder;
  if (!trash.relativeTo.empty() && trash.relativeTo != "/")
    original = folder.substr(trash.relativeTo.size() + 1);
  else if (trash.relativeTo == "/")
    original = folder.substr(1);
  const std::string contents =
      "[Trash Info]\nPath=" + trashInfoPath(original) + "\nDeletionDate=" + deletionDate() + "\n";

  // The .trashinfo is made first and exclusively: it reserves the name.
  const std::string base = baseNameOf(folder);
  for (int n = 1; n < 10000; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const std::string infoFile = info + "/" + name + ".trashinfo";
    const int fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    const bool written = writeAll(fd, contents);
    ::close(fd);
    const std::string trashed = files + "/" + name;
    if (!written || ::mkdir(trashed.c_str(), 0700) != 0) {
      ::unlink(infoFile.c_str());
      if (written && errno == EEXIST) continue;
      return nullptr;
    }
    return std::make_unique<FolderItem>(folder, trashed);
  }
  return nullptr;
}

class DesktopTrash : public Trash {
 public:
  explicit DesktopTrash(std::string homeTrash) : homeTrash_(std::move(homeTrash)) {}

  std::unique_ptr<TrashItem> open(const std::string& hostFolder) override {
    const auto folderSt = statOf(hostFolder);
    if (!folderSt || !S_ISDIR(folderSt->st_mode)) return nullptr;
    const auto homeSt = statOf(nearestExisting(homeTrash_));
    if (homeSt && homeSt->st_dev == folderSt->st_dev) return openIn({homeTrash_, ""}, hostFolder);

    const std::string top = topDirectoryOf(hostFolder);
    const std::string uid = std::to_string(::getuid());
    const std::string prefix = top == "/" ? "" : top;
    // A shared .Trash counts only when it is a real sticky folder; a link
    // there could send the files anywhere.
    const std::string shared = prefix + "/.Trash";
    if (auto st = statOf(shared, false); st && S_ISDIR(st->st_mode) && (st->st_mode & S_ISVTX) != 0) {
      const std::string mine = shared + "/" + uid;
      if ((statOf(mine, false) || ::mkdir(mine.c_str(), 0700) == 0) && ownFolder(mine))
        if (auto item = openIn({mine, top}, hostFolder)) return item;
    }
    const std::string own = prefix + "/.Trash-" + uid;
    if ((statOf(own, false) || ::mkdir(own.c_str(), 0700) == 0) && ownFolder(own))
      return openIn({own, top}, hostFolder);
    return nullptr;
  }

 private:
  std::string homeTrash_;
};

}  // namespace

std::string trashInfoPath(const std::string& path) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       std::string_view("-_.!~*'()/").find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::unique_ptr<TrashItem> OpenTrashItem(Context& ctx, std::string_view windowsFolder) {
  return ctx.trash ? ctx.trash->open(ctx.fs.hostPath(windowsFolder)) : nullptr;
}

void DiscardFile(Context& ctx, TrashItem* item, std::string_view windowsPath) {
  if (item && ctx.journal) ctx.journal->fileLeaving(windowsPath);
  if (item && item->put(ctx.fs.hostPath(windowsPath))) return;
  ctx.fs.deleteFile(windowsPath);
}

std::unique_ptr<Trash> makeDesktopTrash(const Environment& env) {
  return std::make_unique<DesktopTrash>(env.getOr("XDG_DATA_HOME", env.home() + "/.local/share") + "/Trash");
}

}  // namespace core
