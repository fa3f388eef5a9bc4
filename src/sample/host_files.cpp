#include "sample/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace sample {

void writeHostFile(const std::string& hostPath, std::string_view bytes) {
  const auto slash = hostPath.find_last_of('/');
  if (slash != std::string::npos && slash > 0) core::makeHostFolders(hostPath.substr(0, slash));
  writeHostFileInFolder(hostPath, bytes);
}

void writeHostFileInFolder(const std::string& hostPath, std::string_view bytes) {
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = fd >= 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  const int error = ok ? 0 : errno;
  if (fd >= 0 && ::close(fd) != 0 && ok) ok = false;
  if (!ok) throw core::RuntimeError(core::errorNumberFromErrno(error ? error : errno), "cannot write " + hostPath);
}

}  // namespace sample
