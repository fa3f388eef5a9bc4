#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string_view>

#include "core/forwarding_fs.h"

namespace testsupport {

// Stands in for a power cut: the process ends with SIGKILL as its at-th
// change of the file system or the settings store is about to be made, or
// just after it was made.
struct Cut {
  int at = 0;
  bool after = false;
  int count = 0;
  // Calls (target.*member)(args...) as one change.
  template <class T, class Member, class... Args>
  void change(T& target, Member member, Args... args) {
    const bool now = ++count == at;
    if (now && !after) ::raise(SIGKILL);
    (target.*member)(args...);
    if (now) ::raise(SIGKILL);
  }
};

using Fs = core::FileSystem;
using Sv = std::string_view;

class CutFs : public core::ForwardingFileSystem {
 public:
  CutFs(core::FileSystem& inner, Cut& cut) : ForwardingFileSystem(inner), cut_(cut) {}
  void writeFile(Sv p, Sv b) override { cut_.change(inner_, &Fs::writeFile, p, b); }
  std::unique_ptr<core::FileWriter> createFile(Sv p) override {
    struct Writer : core::FileWriter {
      std::unique_ptr<core::FileWriter> inner;
      Cut& cut;
      Writer(std::unique_ptr<core::FileWriter> w, Cut& c) : inner(std::move(w)), cut(c) {}
      void write(const char* d, std::size_t n) override { inner->write(d, n); }
      void commit() override { cut.change(*inner, &core::FileWriter::commit); }
    };
    return std::make_unique<Writer>(inner_.createFile(p), cut_);
  }
  void copyFile(Sv f, Sv t) override { cut_.change(inner_, &Fs::copyFile, f, t); }
  void deleteFile(Sv p) override { cut_.change(inner_, &Fs::deleteFile, p); }
  void makeFolder(Sv p) override { cut_.change(inner_, &Fs::makeFolder, p); }
  void removeFolder(Sv p) override { cut_.change(inner_, &Fs::removeFolder, p); }

 private:
  Cut& cut_;
};

// Runs work in a child process and tells whether SIGKILL ended it (a child
// that fails ends with status 2, which the caller sees as not killed).
inline bool killedIn(const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    try {
      work();
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace testsupport
