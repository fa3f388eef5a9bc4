#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/forwarding_fs.h"

namespace testsupport {

// A file system that hands every call to another one, with the faults a test
// asks for: reads or writes of chosen paths fail (error 75, as a locked file
// gives); writes run out of space (error 61) after a number of bytes, counted
// over every write since bytesWritten was reset, or at the commit step, where
// an atomic write renames its temporary file over the target; the free space
// can be set. Tests use it to prove that a failure loses nothing.
class ForwardingFs : public core::ForwardingFileSystem {
 public:
  explicit ForwardingFs(core::FileSystem& inner) : ForwardingFileSystem(inner) {}

  // Asked once per read, and once per write, copy or file created.
  std::function<bool(std::string_view)> failRead, failWrite;
  // Deletes of the paths it picks fail (error 70).
  std::function<bool(std::string_view)> failDelete;
  // The system error a write picked by failWrite meets (0: error 75 alone).
  int failWriteErrno = 0;
  std::optional<std::size_t> failAfterBytes;
  bool failAtCommit = false;
  std::optional<std::uint64_t> free;
  // Only writes below this Windows folder meet the faults (or count); empty: all.
  std::string onlyUnder;

  std::size_t bytesWritten = 0;
  std::string lastWritten, lastWrittenPath;

  std::string readFile(std::string_view path) override;
  void writeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<core::FileWriter> createFile(std::string_view path) override;
  // Goes through createFile in blocks, so that the copy meets the same faults.
  void copyFile(std::string_view from, std::string_view to) override;
  void deleteFile(std::string_view path) override;
  std::uint64_t freeSpace(std::string_view path) override { return free ? *free : inner_.freeSpace(path); }

 private:
  friend class FailingWriter;
  bool under(std::string_view path) const;
  // Throws when failWrite picks the path.
  void refuseWrite(std::string_view path) const;
  // Whether a fault of bytes or of the commit is set; without one, writes
  // and copies go to the inner file system untouched.
  bool armed(std::string_view path) const;
  std::unique_ptr<core::FileWriter> openWriter(std::string_view path);
};

}  // namespace testsupport
