#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/fs.h"

namespace testsupport {

// A file system that passes everything to another one but makes writes
// fail on purpose (error 61, disk full): after a number of bytes, counted
// over every write since the last reset, or at the commit step, where an
// atomic write renames its temporary file over the target. A test uses it
// to prove that a half-done write loses nothing.
class FailingFileSystem : public core::FileSystem {
 public:
  explicit FailingFileSystem(core::FileSystem& inner) : inner_(inner) {}

  // Bytes that may still be written before a write fails; nullopt never fails.
  std::optional<std::size_t> failAfterBytes;
  // Every commit fails (after all bytes were written).
  bool failAtCommit = false;
  // Only writes below this Windows folder meet the faults (or count); empty: all.
  std::string onlyUnder;

  std::size_t bytesWritten = 0;
  int commits = 0;
  int failures = 0;

  bool fileExists(std::string_view path) override { return inner_.fileExists(path); }
  bool folderExists(std::string_view path) override { return inner_.folderExists(path); }
  std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns, bool includeHidden) override {
    return inner_.listFiles(folder, patterns, includeHidden);
  }
  std::vector<std::string> listFolders(std::string_view folder) override { return inner_.listFolders(folder); }
  std::uint64_t fileSize(std::string_view path) override { return inner_.fileSize(path); }
  std::string readFile(std::string_view path) override { return inner_.readFile(path); }
  void writeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<core::FileWriter> createFile(std::string_view path) override;
  // Goes through createFile, so that the copy meets the same faults.
  void copyFile(std::string_view from, std::string_view to) override;
  void renameFile(std::string_view from, std::string_view to) override { inner_.renameFile(from, to); }
  void deleteFile(std::string_view path) override { inner_.deleteFile(path); }
  void makeFolder(std::string_view path) override { inner_.makeFolder(path); }
  void removeFolder(std::string_view path) override { inner_.removeFolder(path); }
  unsigned attributes(std::string_view path) override { return inner_.attributes(path); }
  void setAttributes(std::string_view path, unsigned attributes) override { inner_.setAttributes(path, attributes); }
  std::uint64_t freeSpace(std::string_view path) override { return inner_.freeSpace(path); }
  std::string hostPath(std::string_view path) override { return inner_.hostPath(path); }

 private:
  friend class FailingWriter;
  core::FileSystem& inner_;
};

}  // namespace testsupport
