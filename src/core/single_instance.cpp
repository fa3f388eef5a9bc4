#include "core/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/atomic_file.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/locations.h"

namespace core {

InstanceLock::~InstanceLock() {
  ::close(fd_);
}

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::string& lockFileHostPath) {
  // Close-on-exec: a converter or browser started by the program must not
  // inherit the lock and keep it after the program has ended.
  const int fd = ::open(lockFileHostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw RuntimeError(errorNumberFromErrno(errno), "Cannot open " + lockFileHostPath, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

std::string lockFilePath(const Locations& locations) {
  return locations.appFolder + "/hangarpak.lock";
}

std::unique_ptr<InstanceLock> GuardSingleInstance(const Locations& locations, Dialogs& dialogs,
                                                  const std::function<bool()>& handOver) {
  step([&] { makeHostFolders(locations.appFolder); });
  std::unique_ptr<InstanceLock> lock;
  try {
    lock = InstanceLock::acquire(lockFilePath(locations));
  } catch (const RuntimeError&) {
    // A lock file that cannot be made (a read-only folder) must not keep the
    // program from starting; it then runs without the guard.
    return nullptr;
  }
  if (!lock) {
    if (handOver && handOver()) throw EndProgram{};
    dialogs.msgBox("Hangarpak is already running!", "Hangarpak", Buttons::OK, Icon::Exclamation);
    throw EndProgram{};
  }
  return lock;
}

}  // namespace core
