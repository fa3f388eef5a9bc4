#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/fs.h"

namespace scantest {

// A file system that passes every call to the real one, except that reads
// or writes of paths the test names fail (error 75, as a locked or
// unreadable file gives), and that it records what was written.
class ForwardingFs : public core::FileSystem {
 public:
  explicit ForwardingFs(core::FileSystem& real) : real_(real) {}

  std::function<bool(std::string_view)> failRead = [](std::string_view) { return false; };
  std::function<bool(std::string_view)> failWrite = [](std::string_view) { return false; };
  std::string lastWritten;
  std::string lastWrittenPath;

  bool fileExists(std::string_view p) override { return real_.fileExists(p); }
  bool folderExists(std::string_view p) override { return real_.folderExists(p); }
  std::vector<std::string> listFiles(std::string_view f, std::string_view pat, bool hidden) override {
    return real_.listFiles(f, pat, hidden);
  }
  std::vector<std::string> listFolders(std::string_view f) override { return real_.listFolders(f); }
  std::uint64_t fileSize(std::string_view p) override { return real_.fileSize(p); }
  std::string readFile(std::string_view p) override {
    if (failRead(p)) throw core::RuntimeError(core::err::PathFileAccess);
    return real_.readFile(p);
  }
  void writeFile(std::string_view p, std::string_view bytes) override {
    if (failWrite(p)) throw core::RuntimeError(core::err::PathFileAccess);
    lastWrittenPath = std::string(p);
    lastWritten = std::string(bytes);
    real_.writeFile(p, bytes);
  }
  std::unique_ptr<core::FileWriter> createFile(std::string_view p) override {
    if (failWrite(p)) throw core::RuntimeError(core::err::PathFileAccess);
    return real_.createFile(p);
  }
  void copyFile(std::string_view a, std::string_view b) override { real_.copyFile(a, b); }
  void renameFile(std::string_view a, std::string_view b) override { real_.renameFile(a, b); }
  void deleteFile(std::string_view p) override { real_.deleteFile(p); }
  void makeFolder(std::string_view p) override { real_.makeFolder(p); }
  void removeFolder(std::string_view p) override { real_.removeFolder(p); }
  unsigned attributes(std::string_view p) override { return real_.attributes(p); }
  void setAttributes(std::string_view p, unsigned a) override { real_.setAttributes(p, a); }
  std::uint64_t freeSpace(std::string_view p) override { return real_.freeSpace(p); }
  std::string hostPath(std::string_view p) override { return real_.hostPath(p); }

 private:
  core::FileSystem& real_;
};

}  // namespace scantest
