#pragma once

#include <functional>
#include <memory>
#include <string>

namespace core {

class Dialogs;
struct Locations;

// Held for the life of the process: an advisory lock on the lock file in
// the application folder. The kernel drops it when the process dies, so a
// crash never leaves a stale lock behind.
class InstanceLock {
 public:
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // nullptr when another process (or another lock of this one) holds it;
  // RuntimeError when the lock file cannot be opened.
  static std::unique_ptr<InstanceLock> acquire(const std::string& lockFileHostPath);

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

std::string lockFilePath(const Locations& locations);

// The first step of start-up: the lock, or the end of the program
// (EndProgram) when another process holds it. That one is first offered
// this start's work through handOver (true: it took it, and this start ends
// quietly); otherwise the message "Hangarpak is already running!" says why
// nothing happens. Reads and writes no setting. nullptr when no lock file
// can be made at all.
std::unique_ptr<InstanceLock> GuardSingleInstance(const Locations& locations, Dialogs& dialogs,
                                                  const std::function<bool()>& handOver = {});

}  // namespace core
