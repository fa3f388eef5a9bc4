#pragma once

#include "core/fs.h"

namespace core {

// A file system service that hands every call to another one: the base of
// the services that watch or change a few calls of the real one and pass the
// rest on. copyFileSeen, linkFile and moveFile keep their defaults (they
// copy through this service), so a subclass that changes copyFile changes
// them too, and
// so does createScratchFile with createFile; a subclass that changes
// attributes changes attributesIfAny and ordinaryFileExists with it, and one that changes listFiles
// or listFolders changes listFilesAndFolders.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  bool fileExists(std::string_view path) override { return inner_.fileExists(path); }
  bool folderExists(std::string_view path) override { return inner_.folderExists(path); }
  std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns, bool includeHidden) override {
    return inner_.listFiles(folder, patterns, includeHidden);
  }
  std::vector<std::string> listFolders(std::string_view folder) override { return inner_.listFolders(folder); }
  Listing listFilesAndFolders(std::string_view folder) override { return inner_.listFilesAndFolders(folder); }
  std::uint64_t fileSize(std::string_view path) override { return inner_.fileSize(path); }
  std::string readFile(std::string_view path) override { return inner_.readFile(path); }
  void writeFile(std::string_view path, std::string_view bytes) override { inner_.writeFile(path, bytes); }
  std::unique_ptr<FileWriter> createFile(std::string_view path) override { return inner_.createFile(path); }
  void copyFile(std::string_view from, std::string_view to) override { inner_.copyFile(from, to); }
  void renameFile(std::string_view from, std::string_view to) override { inner_.renameFile(from, to); }
  void deleteFile(std::string_view path) override { inner_.deleteFile(path); }
  void makeFolder(std::string_view path) override { inner_.makeFolder(path); }
  void removeFolder(std::string_view path) override { inner_.removeFolder(path); }
  unsigned attributes(std::string_view path) override { return inner_.attributes(path); }
  std::optional<unsigned> attributesIfAny(std::string_view path) override { return inner_.attributesIfAny(path); }
  bool ordinaryFileExists(std::string_view path) override { return inner_.ordinaryFileExists(path); }
  void setAttributes(std::string_view path, unsigned attributes) override { inner_.setAttributes(path, attributes); }
  std::uint64_t freeSpace(std::string_view path) override { return inner_.freeSpace(path); }
  std::string hostPath(std::string_view path) override { return inner_.hostPath(path); }

 protected:
  FileSystem& inner_;
};

}  // namespace core
