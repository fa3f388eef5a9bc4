#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "core/errors.h"

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

void writeFileAtomically(const std::string& hostPath, std::string_view bytes) {
  struct stat old;
  const bool existed = ::stat(hostPath.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) throw RuntimeError(err::PathFileAccess, hostPath + " is a folder");

  // The temporary name starts with "." so that a leftover counts as hidden
  // and is never taken for a simulator file.
  const std::string folder = folderOf(hostPath);
  std::string tmp = folder + "/.hangarpak-XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) fail(errno, "create temporary file in " + folder);
  try {
    writeAll(fd, bytes.data(), bytes.size());
    if (::fchmod(fd, existed ? (old.st_mode & 07777) : 0644) != 0) fail(errno, "chmod");
    if (::fsync(fd) != 0) fail(errno, "fsync");
    if (::close(fd) != 0) {
      fd = -1;
      fail(errno, "close");
    }
    fd = -1;
    if (::rename(tmp.c_str(), hostPath.c_str()) != 0) fail(errno, "rename");
  } catch (...) {
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  // Make the rename itself durable.
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

std::string readHostFile(const std::string& hostPath) {
  int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(errno, hostPath);
  std::string out;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      fail(e, hostPath);
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
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
