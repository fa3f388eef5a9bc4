#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/folder_entries.h"
#include "core/folder_name_cache.h"
#include "core/fs.h"
#include "core/listing_order.h"
#include "core/paths.h"
#include "core/text.h"

namespace core {

namespace {

// How many folders a watched cache of names may hold: a quarter of the
// watches the system allows each user (the rest are the user's other
// programs'), at least 4,096 and at most what an unwatched cache holds. A
// tree larger than that is listed afresh over and over; a watch the system
// refuses leaves its folder to be asked on disk.
constexpr std::size_t kUnwatchedFolders = 65536;
std::size_t watchedFolderLimit() {
  unsigned long allowed = 0;
  if (std::FILE* f = std::fopen("/proc/sys/fs/inotify/max_user_watches", "re")) {
    if (std::fscanf(f, "%lu", &allowed) != 1) allowed = 0;
    std::fclose(f);
  }
  return std::clamp<std::size_t>(allowed / 4, 4096, kUnwatchedFolders);
}

std::string hostFolderOf(const std::string& hostPath) {
  auto pos = hostPath.find_last_of('/');
  if (pos == std::string::npos) return ".";
  return pos == 0 ? "/" : hostPath.substr(0, pos);
}

std::string hostNameOf(const std::string& hostPath) {
  auto pos = hostPath.find_last_of('/');
  return pos == std::string::npos ? hostPath : hostPath.substr(pos + 1);
}

std::optional<struct stat> statOf(const std::string& hostPath) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
  return st;
}

bool isFolder(const std::string& hostPath) {
  auto st = statOf(hostPath);
  return st && S_ISDIR(st->st_mode);
}

bool isLink(const std::string& hostPath) {
  struct stat st;
  return ::lstat(hostPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool isReadOnly(const struct stat& st) {
  return (st.st_mode & S_IWUSR) == 0;
}

// The attributes of what the host path names, a link followed; nullopt,
// with errno set, when there is nothing or it cannot be looked at. One lstat
// unless the path is a link.
std::optional<unsigned> attributesAt(const std::string& host) {
  struct stat st;
  if (::lstat(host.c_str(), &st) != 0) return std::nullopt;
  unsigned a = attr::Normal;
  if (S_ISLNK(st.st_mode)) {
    a |= attr::Link;
    if (::stat(host.c_str(), &st) != 0) return std::nullopt;
  }
  if (S_ISDIR(st.st_mode)) a |= attr::Folder;
  if (isReadOnly(st)) a |= attr::ReadOnly;
  const std::string name = hostNameOf(host);
  if (!name.empty() && name[0] == '.') a |= attr::Hidden;
  return a;
}

// A failure names the Windows path being written and the bytes it was to
// hold: the size given, else what was written until then. File is the host
// file written: AtomicHostFile, or ScratchHostFile.
template <class File>
class HostFileWriter : public FileWriter {
 public:
  // make gives the file.
  template <class Make>
  HostFileWriter(std::string_view path, std::function<void()> committed, Make&& make)
      : path_(path), committed_(std::move(committed)), file_(named(std::forward<Make>(make))) {}
  void write(const char* data, std::size_t size) override {
    named([&] { file_.write(data, size); }, size);
    written_ += size;
  }
  void commit() override {
    named([&] { file_.commit(); });
    committed_();
  }
  // The size the file is to have, when the writer's user knows it.
  std::uint64_t expected = 0;

 private:
  template <class F>
  auto named(F&& f, std::size_t more = 0) -> decltype(f()) {
    try {
      return f();
    } catch (RuntimeError& e) {
      if (e.target().empty()) e.setTarget(path_, std::max<std::uint64_t>(expected, written_ + more));
      throw;
    }
  }

  std::string path_;
  std::function<void()> committed_;  // told once the file is in place
  std::uint64_t written_ = 0;
  File file_;
};

// Tells the cache of folder names, as a scope ends however it ends, of the
// paths an operation may have made, removed or renamed.
struct ChangeTold {
  FolderNameCache& names;
  const std::string& path;
  const std::string* other = nullptr;
  ~ChangeTold() {
    names.changed(path);
    if (other) names.changed(*other);
  }
};

// Closes a descriptor at the end of a scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

class HostFileSystem : public FileSystem {
 public:
  HostFileSystem(const DriveTable& drives, WritesInProgress* record, NameWatch watch)
      : drives_(drives),
        record_(record),
        // Without watches a folder costs only its names, and a scan of a
        // large simulator keeps them all.
        names_(watch == NameWatch::Kernel ? watchedFolderLimit() : kUnwatchedFolders, watch) {}

  bool fileExists(std::string_view path) override {
    auto host = tryHost(path);
    if (!host) return false;
    auto st = statOf(*host);
    return st && S_ISREG(st->st_mode);
  }

  bool folderExists(std::string_view path) override {
    auto host = tryHost(path);
    return host && isFolder(*host);
  }

  std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns, bool includeHidden) override {
    return list(folder, [&](const std::string& name, mode_t type) {
      return S_ISREG(type) && (includeHidden || name[0] != '.') && matchesPattern(name, patterns);
    });
  }

  std::vector<std::string> listFolders(std::string_view folder) override {
    return list(folder, [](const std::string&, mode_t type) { return S_ISDIR(type); });
  }

  Listing listFilesAndFolders(std::string_view folder) override {
    Listing out;
    out.files = list(folder, [&](const std::string& name, mode_t type) {
      if (S_ISDIR(type)) out.folders.push_back(name);
      return S_ISREG(type);
    });
    std::sort(out.folders.begin(), out.folders.end(), listedBefore);
    return out;
  }

  std::uint64_t fileSize(std::string_view path) override {
    const std::string host = toHost(path);
    auto st = statOf(host);
    if (!st) fail(errno, host, path);
    if (S_ISDIR(st->st_mode)) throw RuntimeError(err::FileNotFound, std::string(path) + " is a folder");
    return static_cast<std::uint64_t>(st->st_size);
  }

  std::string readFile(std::string_view path) override {
    const std::string host = toHost(path);
    const auto notPlain = [&] {
      return RuntimeError(err::PathFileAccess, std::string(path) + " is not a plain file", EISDIR);
    };
    // Non-blocking, so that a pipe in the tree cannot hang the read; its
    // status, taken from the open file, tells a plain file and its size.
    Fd in{::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (in.fd < 0) {
      const int e = errno;
      if (auto st = statOf(host); st && !S_ISREG(st->st_mode)) throw notPlain();
      fail(e, host, path);
    }
    struct stat st;
    if (::fstat(in.fd, &st) != 0) fail(errno, host, path);
    if (!S_ISREG(st.st_mode)) throw notPlain();
    try {
      return readOpenHostFile(in.fd, st, host);
    } catch (const RuntimeError& e) {
      fail(e.sysErrno(), host, path);
    }
  }

  // Whole-file writes are the configuration files, settings and registry:
  // flushed to the disk. Streamed files and copies are an installation's
  // bulk: atomic, but not synced one by one.
  void writeFile(std::string_view path, std::string_view bytes) override {
    const std::string host = toHost(path);
    refuseReadOnlyTarget(host, path);
    auto writer = openWriter(host, path, std::nullopt, true);
    writer->expected = bytes.size();
    writer->write(bytes.data(), bytes.size());
    writer->commit();
  }

  std::unique_ptr<FileWriter> createFile(std::string_view path) override {
    const std::string host = toHost(path);
    refuseReadOnlyTarget(host, path);
    return openWriter(host, path, std::nullopt, false);
  }

  std::unique_ptr<FileWriter> createScratchFile(std::string_view path) override {
    const std::string host = toHost(path);
    const std::uint64_t news = names_.newsTaken();
    auto file = [&] {
      try {
        return ScratchHostFile::create(host, modeMask_);
      } catch (RuntimeError& e) {
        if (e.number() == err::PathNotFound) missing(host, path, e.sysErrno(), true);
        e.setTarget(std::string(path), 0);
        throw;
      }
    }();
    if (!file) return createFile(path);
    return std::make_unique<HostFileWriter<ScratchHostFile>>(
        path, [this, host, news] { names_.madePlainFile(host, news); }, [&] { return std::move(*file); });
  }

  void copyFile(std::string_view from, std::string_view to) override { copyFileSeen(from, to, {}); }

  void linkFile(std::string_view from, std::string_view to) override {
    auto names = names_.operation();
    const std::string source = toHost(from, names);
    const std::string target = toHost(to, names);
    const ChangeTold told{names_, target};
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) fail(errno, source, from);
    // Anything but a plain file (a link among them) is the copy's to refuse
    // or follow.
    if (!S_ISREG(st.st_mode)) return copyFileSeen(from, to, {});
    // A name nothing has yet is made by the link itself, whole at once;
    // one that is taken is replaced through a temporary name, and any other
    // failure is looked at there.
    if (::link(source.c_str(), target.c_str()) == 0) return;
    checkCopy(st, from, target, to);
    try {
      if (linkAtomically(source, target, record_)) return;
    } catch (RuntimeError& e) {
      if (e.target().empty()) e.setTarget(std::string(to), static_cast<std::uint64_t>(st.st_size));
      if (e.number() == err::PathNotFound) missing(target, to, e.sysErrno(), true);
      throw;
    }
    copyFileSeen(from, to, {});
  }

  void moveFile(std::string_view from, std::string_view to) override {
    auto names = names_.operation();
    const auto resolved = drives_.resolve(from, names);
    const std::string& source = resolved.host;
    const std::string target = toHost(to, names);
    const ChangeTold told{names_, source, &target};
    // A name nothing has yet is taken by the rename itself, whole at once;
    // one that is taken is replaced as a copy would replace it. A source
    // the watched cache knows as a plain file (one the program made, a
    // scratch file above all) is renamed without a look at it first.
    const auto renamed = [&] {
      return ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    };
    const bool knownPlain = resolved.type == FolderNames::Type::PlainFile && names_.watches();
    if (knownPlain && renamed()) return;
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) fail(errno, source, from);
    if (S_ISREG(st.st_mode)) {
      if (!knownPlain && renamed()) return;
      checkCopy(st, from, target, to);
      try {
        if (moveAtomically(source, target)) return;
      } catch (RuntimeError& e) {
        if (e.target().empty()) e.setTarget(std::string(to), static_cast<std::uint64_t>(st.st_size));
        if (e.number() == err::PathNotFound) missing(target, to, e.sysErrno(), true);
        throw;
      }
    }
    // Anything but a plain file is the copy's to refuse or follow.
    copyFileSeen(from, to, {});
    ::unlink(source.c_str());
  }

  void copyFileSeen(std::string_view from, std::string_view to, const BlockSeen& seen) override {
    auto names = names_.operation();
    const std::string source = toHost(from, names);
    const std::string target = toHost(to, names);
    // Non-blocking, so that a pipe or device in the tree cannot hang the
    // copy; only plain files are copied.
    Fd in{::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (in.fd < 0) fail(errno, source, from);
    struct stat st;
    if (::fstat(in.fd, &st) != 0) fail(errno, source, from);
    checkCopy(st, from, target, to);
    // A new copy takes the source's permissions (an executable stays
    // executable); a file it replaces keeps its own.
    auto writer = openWriter(target, to, st.st_mode & 0777, false);
    writer->expected = static_cast<std::uint64_t>(st.st_size);
    // Streams in blocks: add-on archives may hold files of any size.
    std::vector<char> buf(1 << 16);
    for (;;) {
      ssize_t n = ::read(in.fd, buf.data(), buf.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        fail(errno, source, from);
      }
      if (n == 0) break;
      writer->write(buf.data(), static_cast<std::size_t>(n));
      if (seen) seen(buf.data(), static_cast<std::size_t>(n));
    }
    writer->commit();
  }

  void renameFile(std::string_view from, std::string_view to) override {
    auto names = names_.operation();
    const std::string source = toHost(from, names);
    std::string target = toHost(to, names);
    const ChangeTold told{names_, source, &target};
    struct stat st;
    if (::lstat(source.c_str(), &st) != 0) fail(errno, source, from);
    if (target == source) {
      // The new name differs from the old one only in case: it resolved to
      // the file itself, and the rename changes the spelling.
      target = hostFolderOf(source) + "/" + lastComponent(normalizeWindowsPath(to));
      if (target == source) return;
    }
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
    int e = errno;
    if (e == EINVAL || e == ENOSYS) {
      // A file system without RENAME_NOREPLACE; not atomic, but no file is
      // replaced that was there when we looked.
      struct stat existing;
      if (::lstat(target.c_str(), &existing) == 0 && !sameFile(st, target))
        throw RuntimeError(err::FileAlreadyExists, std::string(to) + " exists", EEXIST);
      if (::rename(source.c_str(), target.c_str()) == 0) return;
      e = errno;
    }
    if (e == EEXIST) throw RuntimeError(err::FileAlreadyExists, std::string(to) + " exists", e);
    fail(e, target, to);
  }

  void deleteFile(std::string_view path) override {
    const std::string host = toHost(path);
    const ChangeTold told{names_, host};
    auto st = statOf(host);
    if (!st) fail(errno, host, path);
    if (S_ISDIR(st->st_mode)) throw RuntimeError(err::FileNotFound, std::string(path) + " is a folder");
    // As on the simulator's own system, a read-only file is protected until
    // its attribute is cleared.
    if (isReadOnly(*st)) throw RuntimeError(err::PathFileAccess, std::string(path) + " is read-only", EACCES);
    if (::unlink(host.c_str()) != 0) fail(errno, host, path);
  }

  void makeFolder(std::string_view path) override {
    const std::string host = toHost(path);
    const ChangeTold told{names_, host};
    struct stat st;
    // toHost found any folder that differs only in case, so that one counts.
    if (::lstat(host.c_str(), &st) == 0) throw RuntimeError(err::PathFileAccess, std::string(path) + " exists", EEXIST);
    if (::mkdir(host.c_str(), 0777) != 0) {
      const int e = errno;
      if (e == ENOENT || e == ENOTDIR) missing(host, path, e, true);
      fail(e, host, path);
    }
  }

  void removeFolder(std::string_view path) override {
    const std::string host = toHost(path);
    const ChangeTold told{names_, host};
    if (isLink(host) && isFolder(host)) {
      if (::unlink(host.c_str()) != 0) fail(errno, host, path);
      return;
    }
    if (::rmdir(host.c_str()) != 0) {
      const int e = errno;
      if (e == ENOENT || e == ENOTDIR) missing(host, path, e, true);
      fail(e, host, path);
    }
  }

  unsigned attributes(std::string_view path) override {
    const std::string host = toHost(path);
    const auto a = attributesAt(host);
    if (!a) fail(errno, host, path);
    return *a;
  }

  std::optional<unsigned> attributesIfAny(std::string_view path) override {
    const auto resolved = drives_.resolve(path, names_);
    if (resolved.absent) return std::nullopt;
    const std::string& host = resolved.host;
    const auto a = attributesAt(host);
    if (!a && errno != ENOENT && errno != ENOTDIR) fail(errno, host, path);
    return a;
  }

  bool ordinaryFileExists(std::string_view path) override {
    try {
      const auto [host, absent, type] = drives_.resolve(path, names_);
      if (absent) return false;
      // A plain file its folder's listing has shown needs no look at it.
      if (type == FolderNames::Type::PlainFile) return hostNameOf(host).front() != '.';
      const auto a = attributesAt(host);
      return a && (*a & (attr::Folder | attr::Hidden)) == 0;
    } catch (const RuntimeError&) {
      return false;
    }
  }

  void setAttributes(std::string_view path, unsigned attributes) override {
    const std::string host = toHost(path);
    auto st = statOf(host);
    if (!st) fail(errno, host, path);
    // Only read-only maps to the host: hidden is part of the name here, and
    // there are no system or archive bits. A read-only folder still takes
    // new files on the simulator's system, so folders keep their write bits.
    if (S_ISDIR(st->st_mode)) return;
    mode_t mode = st->st_mode & 07777;
    mode = (attributes & attr::ReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    if (mode != (st->st_mode & 07777) && ::chmod(host.c_str(), mode) != 0) fail(errno, host, path);
  }

  std::uint64_t freeSpace(std::string_view path) override {
    std::string host = toHost(path);
    // The path itself need not exist yet; its nearest existing folder is on
    // the same file system.
    while (!statOf(host) && host != "/" && host != ".") host = hostFolderOf(host);
    struct statvfs vfs;
    if (::statvfs(host.c_str(), &vfs) != 0) fail(errno, host, path);
    return static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  }

  std::string hostPath(std::string_view path) override { return toHost(path); }

 private:
  // One path resolved by an operation of its own, or among the paths of
  // one operation.
  std::string toHost(std::string_view path) { return drives_.toHost(path, names_); }
  std::string toHost(std::string_view path, FolderNameCache::Operation& names) { return drives_.toHost(path, names); }

  std::optional<std::string> tryHost(std::string_view path) {
    try {
      return toHost(path);
    } catch (const RuntimeError&) {
      return std::nullopt;
    }
  }

  template <class Keep>
  std::vector<std::string> list(std::string_view folder, Keep keep) {
    std::vector<std::string> names;
    const auto resolved = drives_.resolve(folder, names_);
    if (resolved.absent) return names;
    const std::string& host = resolved.host;
    const Fd dir{::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd < 0) {
      const int e = errno;
      if (e == ENOENT || e == ENOTDIR) return names;
      fail(e, host, folder);
    }
    std::vector<FolderNameCache::Listed> all;  // for the cache of names, which need not list the folder again
    const bool read = readFolderEntries(dir.fd, [&](std::string_view entry, unsigned char direntType) {
      std::string name(entry);
      // The listing tells plain files and folders apart on most file
      // systems; links are followed, as the simulator sees a linked file as
      // the file.
      mode_t type = direntType == DT_REG ? S_IFREG : direntType == DT_DIR ? S_IFDIR : 0;
      all.push_back({name, type == S_IFREG   ? FolderNames::Type::PlainFile
                           : type == S_IFDIR ? FolderNames::Type::Folder
                                             : FolderNames::Type::Unknown});
      if (type == 0) {
        struct stat st;
        if (::fstatat(dir.fd, name.c_str(), &st, 0) != 0) return;
        type = st.st_mode & S_IFMT;
      }
      if (keep(name, type)) names.push_back(std::move(name));
    });
    if (!read) fail(errno, host, folder);
    names_.listed(host, all);
    std::sort(names.begin(), names.end(), listedBefore);
    return names;
  }

  std::unique_ptr<HostFileWriter<AtomicHostFile>> openWriter(const std::string& host, std::string_view path,
                                                             std::optional<unsigned> mode, bool durable) {
    try {
      return std::make_unique<HostFileWriter<AtomicHostFile>>(
          path, [this, host] { names_.changed(host); }, [&] { return AtomicHostFile(host, mode, durable, record_); });
    } catch (const RuntimeError& e) {
      if (e.number() == err::PathNotFound) missing(host, path, e.sysErrno(), true);
      throw;
    }
  }

  // What a copy of the file whose status is st refuses.
  static void checkCopy(const struct stat& st, std::string_view from, const std::string& target, std::string_view to) {
    if (S_ISDIR(st.st_mode)) throw RuntimeError(err::FileNotFound, std::string(from) + " is a folder");
    if (!S_ISREG(st.st_mode)) throw RuntimeError(err::PathFileAccess, std::string(from) + " is not a plain file");
    if (sameFile(st, target)) throw RuntimeError(err::PathFileAccess, "cannot copy a file onto itself", 0);
    refuseReadOnlyTarget(target, to);
  }

  static void refuseReadOnlyTarget(const std::string& host, std::string_view path) {
    auto st = statOf(host);
    if (st && !S_ISDIR(st->st_mode) && isReadOnly(*st))
      throw RuntimeError(err::PathFileAccess, std::string(path) + " is read-only", EACCES);
  }

  static bool sameFile(const struct stat& st, const std::string& other) {
    auto o = statOf(other);
    return o && o->st_dev == st.st_dev && o->st_ino == st.st_ino;
  }

  // A path that is not there: 68 when its drive's folder is gone, 76 when a
  // folder on the way is missing (or the path names a folder), 53 when only
  // the file itself is.
  [[noreturn]] void missing(const std::string& host, std::string_view path, int sysErrno, bool isFolderPath) const {
    const std::string text(path);
    const char letter = path.size() >= 2 && path[1] == ':' ? path[0] : 'c';
    auto root = drives_.hostRoot(letter);
    if (root && !isFolder(*root)) throw RuntimeError(err::DeviceUnavailable, text, sysErrno);
    if (isFolderPath || !isFolder(hostFolderOf(host))) throw RuntimeError(err::PathNotFound, text, sysErrno);
    throw RuntimeError(err::FileNotFound, text, sysErrno);
  }

  [[noreturn]] void fail(int sysErrno, const std::string& host, std::string_view path) const {
    if (sysErrno == ENOENT || sysErrno == ENOTDIR) missing(host, path, sysErrno, false);
    RuntimeError error(errorNumberFromErrno(sysErrno), std::string(path), sysErrno);
    error.setTarget(std::string(path), 0);
    throw error;
  }

  const DriveTable& drives_;
  WritesInProgress* record_;
  FolderNameCache names_;
  // Read once: the program never changes its mask.
  const std::optional<unsigned> modeMask_ = ProcessFileModeMask();
};

}  // namespace

std::unique_ptr<FileSystem> makeHostFileSystem(const DriveTable& drives, WritesInProgress* record) {
  return makeHostFileSystem(drives, record, NameWatch::Kernel);
}

std::unique_ptr<FileSystem> makeHostFileSystem(const DriveTable& drives, WritesInProgress* record, NameWatch watch) {
  return std::make_unique<HostFileSystem>(drives, record, watch);
}

}  // namespace core
