#include "core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "core/errors.h"
#include "core/writes_in_progress.h"

namespace core {

namespace {

[[noreturn]] void fail(int sysErrno, const std::string& what) {
  throw RuntimeError(errorNumberFromErrno(sysErrno), what, sysErrno);
}

std::string folderOf(const std::string& path) {
  auto pos = path.find_last_of('/');
  if (pos == std::string::npos) return ".";
  return pos == 0 ? "/" : path.substr(0, pos);
}

// The file a replacement of target replaces: target itself, or the file a
// link at target points to (a link stays a link).
std::string throughLink(std::string target) {
  struct stat link;
  char resolved[PATH_MAX];
  if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && ::realpath(target.c_str(), resolved))
    target = resolved;
  return target;
}

// The status of the file at path that a replacement replaces; nullopt when
// there is none. A folder is not replaced.
std::optional<struct stat> replacedFile(const std::string& path) {
  struct stat old;
  if (::stat(path.c_str(), &old) != 0) return std::nullopt;
  if (S_ISDIR(old.st_mode)) throw RuntimeError(err::PathFileAccess, path + " is a folder", EISDIR);
  return old;
}

void writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, "write");
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace

AtomicHostFile::AtomicHostFile(std::string hostPath, std::optional<unsigned> newFileMode, bool durable,
                               WritesInProgress* record)
    : target_(throughLink(std::move(hostPath))), durable_(durable) {
  folder_ = folderOf(target_);
  if (const auto old = replacedFile(target_)) {
    mode_ = old->st_mode & 07777;
  } else if (newFileMode) {
    mode_ = *newFileMode & 07777;
  }
  if (record) (void)record->enter(folder_, durable_);
  // The temporary name starts with "." so that a leftover counts as hidden
  // and is never taken for a simulator file.
  tmp_ = folder_ + "/.hangarpak-XXXXXX";
  fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    const int e = errno;
    tmp_.clear();
    if (e == ENOENT || e == ENOTDIR) throw RuntimeError(err::PathNotFound, "no folder " + folder_, e);
    fail(e, "create temporary file in " + folder_);
  }
  // The lock marks the file as being written for as long as this process
  // lives (the kernel drops it when the process dies), so that a later
  // start can tell an abandoned temporary file from one in progress. A
  // second descriptor keeps it held from the close in commit() until the
  // rename.
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
}

AtomicHostFile::~AtomicHostFile() {
  if (!committed_) discard();
}

void AtomicHostFile::discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tmp_.empty()) ::unlink(tmp_.c_str());
  tmp_.clear();
  releaseLock();
}

void AtomicHostFile::releaseLock() noexcept {
  if (lockFd_ >= 0) ::close(lockFd_);
  lockFd_ = -1;
}

void AtomicHostFile::write(const char* data, std::size_t size) {
  if (fd_ < 0) throw RuntimeError(err::PathFileAccess, "write after commit or failure: " + target_);
  try {
    writeAll(fd_, data, size);
  } catch (...) {
    discard();
    throw;
  }
}

void AtomicHostFile::commit() {
  if (fd_ < 0) throw RuntimeError(err::PathFileAccess, "commit after commit or failure: " + target_);
  try {
    if (::fchmod(fd_, mode_) != 0) fail(errno, "chmod");
    if (durable_ && ::fsync(fd_) != 0) fail(errno, "fsync");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(errno, "close");
    if (::rename(tmp_.c_str(), target_.c_str()) != 0) fail(errno, "rename");
  } catch (...) {
    discard();
    throw;
  }
  committed_ = true;
  tmp_.clear();
  releaseLock();
  if (!durable_) return;
  // Make the rename itself durable.
  int dfd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

std::optional<unsigned> ProcessFileModeMask() {
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (!status) return std::nullopt;
  std::optional<unsigned> mask;
  char line[256];
  unsigned value = 0;
  while (!mask && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "Umask: %o", &value) == 1) mask = value;
  std::fclose(status);
  return mask;
}

std::optional<ScratchHostFile> ScratchHostFile::create(std::string hostPath, std::optional<unsigned> modeMask) {
  constexpr unsigned kMode = 0644;
  const bool modeGiven = modeMask && (*modeMask & kMode) == 0;
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modeGiven ? kMode : 0600);
  if (fd >= 0) return ScratchHostFile(std::move(hostPath), fd, modeGiven);
  const int e = errno;
  if (e == EEXIST) return std::nullopt;
  if (e == ENOENT || e == ENOTDIR) throw RuntimeError(err::PathNotFound, "no folder " + folderOf(hostPath), e);
  fail(e, "create " + hostPath);
}

ScratchHostFile::ScratchHostFile(ScratchHostFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), modeGiven_(other.modeGiven_) {}

ScratchHostFile::~ScratchHostFile() {
  discard();
}

void ScratchHostFile::discard() noexcept {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(path_.c_str());
}

void ScratchHostFile::write(const char* data, std::size_t size) {
  if (fd_ < 0) throw RuntimeError(err::PathFileAccess, "write after commit or failure: " + path_);
  try {
    writeAll(fd_, data, size);
  } catch (...) {
    discard();
    throw;
  }
}

void ScratchHostFile::commit() {
  if (fd_ < 0) throw RuntimeError(err::PathFileAccess, "commit after commit or failure: " + path_);
  if (!modeGiven_ && ::fchmod(fd_, 0644) != 0) {
    const int e = errno;
    discard();
    fail(e, "chmod");
  }
  if (::close(std::exchange(fd_, -1)) != 0) {
    const int e = errno;
    ::unlink(path_.c_str());
    fail(e, "close");
  }
}

namespace {

bool isTemporaryName(std::string_view name) {
  constexpr std::string_view prefix = ".hangarpak-";
  return name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix;
}

// Removes one temporary file if no living writer holds its lock.
bool removeIfAbandoned(int dirFd, const char* name) {
  const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat held, named;
  if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
      named.st_dev == held.st_dev)
    removed = ::unlinkat(dirFd, name, 0) == 0;
  ::close(fd);
  return removed;
}

}  // namespace

int RemoveAbandonedTemporaries(const std::string& hostFolder) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (dirent* entry = ::readdir(dir))
    if (isTemporaryName(entry->d_name)) removed += removeIfAbandoned(::dirfd(dir), entry->d_name);
  ::closedir(dir);
  return removed;
}

bool linkAtomically(const std::string& source, const std::string& target, WritesInProgress* record) {
  const std::string to = throughLink(target);
  const std::string folder = folderOf(to);
  const auto old = replacedFile(to);
  if (record) (void)record->enter(folder, false);
  // A name of the form mkostemp gives, free at the moment of the link.
  constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t seed = static_cast<std::uint64_t>(::getpid()) ^ reinterpret_cast<std::uintptr_t>(&seed) ^
                       static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::string tmp;
  for (int attempt = 0;; ++attempt) {
    tmp = folder + "/.hangarpak-";
    for (int i = 0; i < 6; ++i) {
      seed = seed * 6364136223846793005u + 1442695040888963407u;
      tmp += letters[(seed >> 33) % letters.size()];
    }
    if (::link(source.c_str(), tmp.c_str()) == 0) break;
    const int e = errno;
    if (e == EEXIST && attempt < 100) continue;
    if (e == EXDEV || e == EPERM || e == EMLINK || e == ENOTSUP || e == EOPNOTSUPP) return false;
    if (e == ENOENT || e == ENOTDIR) throw RuntimeError(err::PathNotFound, "no folder " + folder, e);
    fail(e, "link " + source + " as " + tmp);
  }
  try {
    if (old && ::chmod(tmp.c_str(), old->st_mode & 07777) != 0) fail(errno, "chmod");
    if (::rename(tmp.c_str(), to.c_str()) != 0) fail(errno, "rename");
  } catch (...) {
    ::unlink(tmp.c_str());
    throw;
  }
  return true;
}

bool moveAtomically(const std::string& source, const std::string& target) {
  const std::string to = throughLink(target);
  if (const auto old = replacedFile(to)) {
    struct stat own;
    if (::stat(source.c_str(), &own) != 0) fail(errno, source);
    if (own.st_dev != old->st_dev) return false;
    if (::chmod(source.c_str(), old->st_mode & 07777) != 0) fail(errno, "chmod " + source);
  }
  if (::rename(source.c_str(), to.c_str()) == 0) return true;
  const int e = errno;
  if (e == EXDEV) return false;
  if (e == ENOENT || e == ENOTDIR) throw RuntimeError(err::PathNotFound, "no folder " + folderOf(to), e);
  fail(e, "rename " + source + " to " + to);
}

void writeFileAtomically(const std::string& hostPath, std::string_view bytes, WritesInProgress* record) {
  AtomicHostFile file(hostPath, std::nullopt, true, record);
  file.write(bytes.data(), bytes.size());
  file.commit();
}

std::string readHostFile(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno, hostPath);
  struct stat st {};
  if (::fstat(fd, &st) != 0) st = {};
  try {
    std::string out = readOpenHostFile(fd, st, hostPath);
    ::close(fd);
    return out;
  } catch (...) {
    ::close(fd);
    throw;
  }
}

std::string readOpenHostFile(int fd, const struct stat& status, const std::string& hostPath) {
  // Sized once from the file, and read in place: a plain file read to the
  // size it told is whole, without a read more to find its end (one that
  // turns out shorter ends where it ends). A file that tells no size (as
  // /proc does) is read on to its end through a block of its own.
  std::string out;
  const bool sized = S_ISREG(status.st_mode) && status.st_size > 0;
  if (sized) out.resize(static_cast<std::size_t>(status.st_size));
  std::size_t used = 0;
  char block[65536];
  for (;;) {
    const bool inPlace = used < out.size();
    if (sized && !inPlace) break;
    const ssize_t n = inPlace ? ::read(fd, out.data() + used, out.size() - used) : ::read(fd, block, sizeof block);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno, hostPath);
    }
    if (n == 0) break;
    if (!inPlace) out.append(block, static_cast<std::size_t>(n));
    used += static_cast<std::size_t>(n);
  }
  out.resize(used);
  return out;
}

void makeHostFolders(const std::string& hostPath) {
  if (hostPath.empty()) return;
  std::string partial;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = hostPath.find('/', pos + 1);
    partial = hostPath.substr(0, pos);
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) fail(errno, partial);
  }
}

}  // namespace core
