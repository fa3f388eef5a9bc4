#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// File attributes as the program knows them. On this platform a name that
// starts with "." is hidden, a file without the owner's write bit is
// read-only, nothing is a system file, and a symbolic link is a link (what
// the simulator's system calls a reparse point).
namespace attr {
inline constexpr unsigned Normal = 0;
inline constexpr unsigned ReadOnly = 1;
inline constexpr unsigned Hidden = 2;
inline constexpr unsigned System = 4;
inline constexpr unsigned Folder = 16;
inline constexpr unsigned Archive = 32;
inline constexpr unsigned Link = 1024;
}  // namespace attr

// A file being written. Nothing is visible at the target until commit(); a
// writer destroyed without commit() leaves the old file (or none) in place.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  virtual void write(const char* data, std::size_t size) = 0;
  virtual void commit() = 0;
};

// Every read and write of the installers, the catalogue and the scans goes
// through this service, on Windows-style paths. Failures throw
// core::RuntimeError with the numbers of core/errors.h.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // An ordinary file (hidden and read-only ones included), not a folder.
  virtual bool fileExists(std::string_view path) = 0;
  virtual bool folderExists(std::string_view path) = 0;

  // Names of the plain files of a folder matching the patterns ("*",
  // "*.air", "*.zip;*.sif", without regard to case), in alphabetical order
  // without regard to case. A missing folder lists nothing.
  virtual std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns = "*",
                                             bool includeHidden = true) = 0;
  // Names of the sub-folders, alphabetical, "." and ".." left out.
  virtual std::vector<std::string> listFolders(std::string_view folder) = 0;
  // listFiles(folder) (every plain file) and listFolders(folder) at once;
  // the host file system lists the folder once for both.
  struct Listing {
    std::vector<std::string> files, folders;
  };
  virtual Listing listFilesAndFolders(std::string_view folder) { return {listFiles(folder), listFolders(folder)}; }

  virtual std::uint64_t fileSize(std::string_view path) = 0;
  virtual std::string readFile(std::string_view path) = 0;
  // Replaces the file atomically (temporary file beside it, flush, rename);
  // an existing file keeps its permissions.
  virtual void writeFile(std::string_view path, std::string_view bytes) = 0;
  // Atomic like writeFile, but not synced to the disk file by file: for the
  // bulk of an installation.
  virtual std::unique_ptr<FileWriter> createFile(std::string_view path) = 0;
  // createFile for a file of a folder of the program's own that nothing
  // reads until it is committed (extraction's TempZip): the host file
  // system writes a new file in place under its name, without a temporary
  // file and a rename, and removes it when the writer goes without commit();
  // a name that is taken is replaced as createFile replaces it. This
  // default is createFile.
  virtual std::unique_ptr<FileWriter> createScratchFile(std::string_view path) { return createFile(path); }
  // Copies with overwrite; the target is replaced atomically (not synced
  // file by file, as createFile).
  virtual void copyFile(std::string_view from, std::string_view to) = 0;
  // copyFile that hands each block of the content to seen as it passes, so
  // that a copy can be hashed without reading either file again. This
  // default copies first and then reads the copy; the host file system
  // streams.
  using BlockSeen = std::function<void(const char* data, std::size_t size)>;
  virtual void copyFileSeen(std::string_view from, std::string_view to, const BlockSeen& seen) {
    copyFile(from, to);
    const std::string bytes = readFile(to);
    seen(bytes.data(), bytes.size());
  }
  // copyFile for a source that nothing writes again in place (a file the
  // caller made and will delete, as extraction's are): the host file
  // system gives the target the source's content by a hard link where both
  // lie on one file system, so that no byte is copied, and copies
  // elsewhere. A source given this way goes to one target only; a second
  // one takes a copy. This default copies.
  virtual void linkFile(std::string_view from, std::string_view to) { copyFile(from, to); }
  // linkFile for a source that nothing reads again, whose name goes (the
  // last use of an extracted file): the host file system renames the source
  // over the target, replacing it as linkFile does, where both lie on one
  // file system, and copies elsewhere. Either way the source's name is gone
  // once the target holds its content; a source that cannot be removed after
  // a copy stays. This default copies and deletes.
  virtual void moveFile(std::string_view from, std::string_view to);
  virtual void renameFile(std::string_view from, std::string_view to) = 0;
  virtual void deleteFile(std::string_view path) = 0;

  // Makes one folder; error 75 when it exists, 76 when its parent is missing.
  // A folder whose name differs only in case from an existing one is that one.
  virtual void makeFolder(std::string_view path) = 0;
  // Removes an empty folder; error 75 when it is not empty. A link to a
  // folder is removed as the link, and what it leads to stays.
  virtual void removeFolder(std::string_view path) = 0;

  virtual unsigned attributes(std::string_view path) = 0;
  // The attributes, or nullopt when nothing is at the path (it, or a folder
  // on its way, is missing); other failures throw as attributes() does. A
  // scan asks this of every file it checks, so the host file system answers
  // it with one look at the disk.
  virtual std::optional<unsigned> attributesIfAny(std::string_view path);
  // Whether an ordinary file is at the path: neither a folder nor hidden nor
  // a system file. A path that cannot be looked at has none. The host file
  // system answers a file its held listing shows without a look at the disk.
  virtual bool ordinaryFileExists(std::string_view path);
  virtual void setAttributes(std::string_view path, unsigned attributes) = 0;

  // Bytes free for the user on the file system that holds the path.
  virtual std::uint64_t freeSpace(std::string_view path) = 0;

  // The host path (for libzip and for programs started by the program).
  virtual std::string hostPath(std::string_view path) = 0;
};

class DriveTable;
class WritesInProgress;
enum class NameWatch : std::uint8_t;

// The real file system, through the drive table. record, when given, is
// told each folder before a temporary file of an atomic write is made there.
// watch says how its cache of folder names stays in step (see
// folder_name_cache.h): NameWatch::OwnChangesOnly for a run that has the
// simulator's folders to itself.
std::unique_ptr<FileSystem> makeHostFileSystem(const DriveTable& drives, WritesInProgress* record = nullptr);
std::unique_ptr<FileSystem> makeHostFileSystem(const DriveTable& drives, WritesInProgress* record, NameWatch watch);

}  // namespace core
