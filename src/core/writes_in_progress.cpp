#include "core/writes_in_progress.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace core {

namespace {

constexpr std::string_view kRecordPrefix = "run-";

std::string recordFolder(const std::string& appFolder) {
  return appFolder + "/writes-in-progress";
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The folders a record names: paths ended by NUL, which no path holds; an
// entry cut short by a crash is left out.
std::vector<std::string> foldersIn(int fd) {
  std::string bytes;
  char block[4096];
  for (ssize_t n; (n = ::read(fd, block, sizeof block)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    bytes.append(block, static_cast<std::size_t>(n));
  }
  std::vector<std::string> folders;
  for (std::size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
    folders.push_back(bytes.substr(start, end - start));
  return folders;
}

}  // namespace

WritesInProgress::WritesInProgress(std::string appFolder) : appFolder_(std::move(appFolder)) {}

WritesInProgress::~WritesInProgress() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
}

bool WritesInProgress::open() {
  const std::string folder = recordFolder(appFolder_);
  if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
  std::string path = folder + "/" + std::string(kRecordPrefix) + "XXXXXX";
  const int fd = ::mkostemp(path.data(), O_CLOEXEC | O_APPEND);
  if (fd < 0) return false;
  // Held until the process ends: the kernel lets go of it when the process
  // is killed, which tells a start that the record's run is over.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::unlink(path.c_str());
    ::close(fd);
    return false;
  }
  fd_ = fd;
  path_ = std::move(path);
  return true;
}

bool WritesInProgress::enter(const std::string& hostFolder, bool durable) {
  std::lock_guard lock(mutex_);
  auto known = entered_.find(hostFolder);
  if (known == entered_.end()) {
    if (fd_ < 0 && !open()) return false;
    std::string entry = hostFolder;
    entry += '\0';
    if (::write(fd_, entry.data(), entry.size()) != static_cast<ssize_t>(entry.size())) return false;
    known = entered_.emplace(hostFolder, false).first;
  }
  if (!durable || known->second) return true;
  // The record itself on the disk before such a write's temporary file:
  // one that outlives a power cut is named in it too. Only for these: a
  // sync also pushes every byte written so far to the disk, which would
  // make the bulk of an installation wait on it.
  if (!recordSynced_) {
    syncFolder(recordFolder(appFolder_));
    recordSynced_ = true;
  }
  if (::fdatasync(fd_) != 0) return false;
  known->second = true;
  return true;
}

int RemoveLeftoversOfEndedRuns(const std::string& appFolder) {
  const std::string folder = recordFolder(appFolder);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (!name.starts_with(kRecordPrefix)) continue;
    const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // A record whose run still goes is locked by it.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      for (const auto& written : foldersIn(fd)) removed += RemoveAbandonedTemporaries(written);
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
  return removed;
}

}  // namespace core
