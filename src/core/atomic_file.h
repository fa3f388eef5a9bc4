#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace core {

class WritesInProgress;

// Replaces a host file so that a crash or a full disk leaves either the old
// file or the new one, never a mix: the bytes go to a temporary file in the
// same folder, which commit() flushes, syncs and renames over the target
// (rename is atomic within one file system; deleting first would open a
// window with no file at all). An existing target keeps its permissions; a
// new one gets newFileMode (0644 when not given). Destroyed without commit(),
// it removes the temporary file and leaves the target as it was. Failures
// throw RuntimeError: 76 when the target's folder is missing, otherwise the
// number errorNumberFromErrno gives.
class AtomicHostFile {
 public:
  // durable: commit() also syncs the file and the rename to the disk. Bulk
  // writers (an installation's thousands of files) pass false: the
  // replacement is still atomic, but one sync per file would cost them
  // several times the time of the copying itself. record, when given, is
  // told the folder before the temporary file is made in it.
  explicit AtomicHostFile(std::string hostPath, std::optional<unsigned> newFileMode = std::nullopt, bool durable = true,
                          WritesInProgress* record = nullptr);
  ~AtomicHostFile();
  AtomicHostFile(const AtomicHostFile&) = delete;
  AtomicHostFile& operator=(const AtomicHostFile&) = delete;

  void write(const char* data, std::size_t size);
  void commit();
  const std::string& temporaryPath() const { return tmp_; }

 private:
  void discard() noexcept;
  void releaseLock() noexcept;

  std::string target_;
  std::string folder_;
  std::string tmp_;
  unsigned mode_ = 0644;
  int fd_ = -1;
  int lockFd_ = -1;
  bool durable_ = true;
  bool committed_ = false;
};

// The process's file mode creation mask, as the kernel tells it in
// /proc/self/status; nullopt where it does not.
std::optional<unsigned> ProcessFileModeMask();

// A new host file written in place under its own name, for a folder of the
// program's own that nothing reads until the file is whole (extraction's
// TempZip): no temporary file and no rename, as a file of that folder needs
// no atomic replacement. It has the permissions AtomicHostFile gives a new
// file once committed; destroyed without commit(), it removes what it wrote.
// A killed run leaves the part written, for the folder's next emptying.
class ScratchHostFile {
 public:
  // Makes the file; nullopt when the name is taken. Other failures throw as
  // AtomicHostFile's do. modeMask: the process's file mode creation mask,
  // when known; where it takes nothing of those permissions the file is
  // made with them, otherwise commit() sets them, a system call more.
  [[nodiscard]] static std::optional<ScratchHostFile> create(std::string hostPath,
                                                             std::optional<unsigned> modeMask = std::nullopt);
  ScratchHostFile(ScratchHostFile&& other) noexcept;
  ScratchHostFile& operator=(ScratchHostFile&&) = delete;
  ~ScratchHostFile();

  void write(const char* data, std::size_t size);
  void commit();

 private:
  ScratchHostFile(std::string hostPath, int fd, bool modeGiven)
      : path_(std::move(hostPath)), fd_(fd), modeGiven_(modeGiven) {}
  void discard() noexcept;

  std::string path_;
  int fd_ = -1;
  bool modeGiven_ = false;  // made with its permissions, which commit() need not set
};

// Gives the host file target the content of source without copying a byte:
// a hard link to source under a temporary name in target's folder, renamed
// over target, so that target is replaced atomically as AtomicHostFile
// replaces it (a link at target replaces the file it points to; an existing
// target's permissions stay, a new one takes source's). Not synced. False,
// with nothing changed, where the file system cannot link the two (another
// file system, no hard links): the caller copies instead. Other failures
// throw RuntimeError as AtomicHostFile does.
[[nodiscard]] bool linkAtomically(const std::string& source, const std::string& target,
                                  WritesInProgress* record = nullptr);

// Gives the host file target the file source itself, renamed over it, so
// that target is replaced atomically as AtomicHostFile replaces it (a link
// at target replaces the file it points to; an existing target's
// permissions stay, a new one keeps source's); source's name is gone
// afterwards. Not synced. False, with nothing changed, where the two lie on
// different file systems: the caller copies instead. Other failures throw
// RuntimeError as AtomicHostFile does.
[[nodiscard]] bool moveAtomically(const std::string& source, const std::string& target);

// Removes the temporary files (".hangarpak-XXXXXX") that writers killed
// before their rename left in a host folder. A temporary file whose writer
// still runs holds a lock and is kept. Returns the number removed.
int RemoveAbandonedTemporaries(const std::string& hostFolder);

// The whole content at once through AtomicHostFile.
void writeFileAtomically(const std::string& hostPath, std::string_view bytes, WritesInProgress* record = nullptr);

// The host file's bytes; throws RuntimeError (53 for a missing file).
std::string readHostFile(const std::string& hostPath);
// The bytes of a file already open for reading, whose status says how large
// it is (a plain file) or tells nothing (a size of 0, as /proc gives); the
// descriptor stays open. Throws RuntimeError naming hostPath.
std::string readOpenHostFile(int fd, const struct stat& status, const std::string& hostPath);

// Makes a host folder and its parents (like mkdir -p); no error when it exists.
void makeHostFolders(const std::string& hostPath);

}  // namespace core
