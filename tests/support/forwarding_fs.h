#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/fs.h"

namespace testsupport {

// A file system that hands every call to another one, with the faults a test
// asks for: reads or writes of chosen paths fail (error 75, as a locked file
// gives); writes run out of space (error 61) after a number of bytes, counted
// over every write since bytesWritten was reset, or at the commit step, where
// an atomic write renames its temporary file over the target; the free space
// can be set. Tests use it to prove that a failure loses nothing.
class ForwardingFs : public core::FileSystem {
 public:
  explicit ForwardingFs(core::FileSystem& inner) : inner_(inner) {}

  std::function<bool(std::string_view)> failRead, failWrite;
  std::optional<std::size_t> failAfterBytes;
  bool failAtCommit = false;
  std::optional<std::uint64_t> free;
  // Only writes below this Windows folder meet the faults (or count); empty: all.
  std::string onlyUnder;

  std::size_t bytesWritten = 0;
  int commits = 0;
  std::string lastWritten, lastWrittenPath;

  bool fileExists(std::string_view path) override { return inner_.fileExists(path); }
  bool folderExists(std::string_view path) override { return inner_.folderExists(path); }
  std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns, bool includeHidden) override {
    return inner_.listFiles(folder, patterns, includeHidden);
  }
  std::vector<std::string> listFolders(std::string_view folder) override { return inner_.listFolders(folder); }
  std::uint64_t fileSize(std::string_view path) override { return inner_.fileSize(path); }
  std::string readFile(std::string_view path) override;
  void writeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<core::FileWriter> createFile(std::string_view path) override;
  // Goes through createFile in blocks, so that the copy meets the same faults.
  void copyFile(std::string_view from, std::string_view to) override;
  void renameFile(std::string_view from, std::string_view to) override { inner_.renameFile(from, to); }
  void deleteFile(std::string_view path) override { inner_.deleteFile(path); }
  void makeFolder(std::string_view path) override { inner_.makeFolder(path); }
  void removeFolder(std::string_view path) override { inner_.removeFolder(path); }
  unsigned attributes(std::string_view path) override { return inner_.attributes(path); }
  void setAttributes(std::string_view path, unsigned attributes) override { inner_.setAttributes(path, attributes); }
  std::uint64_t freeSpace(std::string_view path) override { return free ? *free : inner_.freeSpace(path); }
  std::string hostPath(std::string_view path) override { return inner_.hostPath(path); }

 private:
  friend class FailingWriter;
  // Whether a write fault is set; without one, writes and copies go to the
  // inner file system untouched.
  bool armed(std::string_view path) const;
  core::FileSystem& inner_;
};

}  // namespace testsupport
