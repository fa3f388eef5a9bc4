#pragma once

#include "core/fs.h"

namespace journal {

class Recorder;

// The file system service of a journalled program: hands every call to the
// real one and, while the recorder has an installation open, tells it each
// folder made, file written (hashed as its bytes pass), replaced (the old
// one kept first) or deleted. Outside an installation it only forwards.
class RecordingFileSystem : public core::FileSystem {
 public:
  RecordingFileSystem(core::FileSystem& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}

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
  void copyFile(std::string_view from, std::string_view to) override;
  void copyFileSeen(std::string_view from, std::string_view to, const BlockSeen& seen) override;
  void renameFile(std::string_view from, std::string_view to) override;
  void deleteFile(std::string_view path) override;
  void makeFolder(std::string_view path) override;
  void removeFolder(std::string_view path) override;
  unsigned attributes(std::string_view path) override { return inner_.attributes(path); }
  void setAttributes(std::string_view path, unsigned attributes) override { inner_.setAttributes(path, attributes); }
  std::uint64_t freeSpace(std::string_view path) override { return inner_.freeSpace(path); }
  std::string hostPath(std::string_view path) override { return inner_.hostPath(path); }

 private:
  core::FileSystem& inner_;
  Recorder& recorder_;
};

}  // namespace journal
