#pragma once

#include "core/forwarding_fs.h"

namespace journal {

class Recorder;

// The file system service of a journalled program: hands every call to the
// real one and, while the recorder has an installation open, tells it each
// folder made, file written (hashed as its bytes pass), replaced (the old
// one kept first) or deleted. A scratch file of the program's own folder
// (TempZip's members) is hashed as it is written too, so that a file placed
// from it by a link is not read again. Outside an installation it only
// forwards.
class RecordingFileSystem : public core::ForwardingFileSystem {
 public:
  RecordingFileSystem(core::FileSystem& inner, Recorder& recorder) : ForwardingFileSystem(inner), recorder_(recorder) {}

  void writeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<core::FileWriter> createFile(std::string_view path) override;
  // The real one's, for a path that is not recorded.
  std::unique_ptr<core::FileWriter> createScratchFile(std::string_view path) override;
  void copyFile(std::string_view from, std::string_view to) override;
  void copyFileSeen(std::string_view from, std::string_view to, const BlockSeen& seen) override;
  // Recorded as a copy is, the new content the source's as it was written
  // (or, when it was not written here, hashed from it).
  void linkFile(std::string_view from, std::string_view to) override;
  // Recorded as linkFile is; the source's name is gone after it.
  void moveFile(std::string_view from, std::string_view to) override;
  void renameFile(std::string_view from, std::string_view to) override;
  void deleteFile(std::string_view path) override;
  void makeFolder(std::string_view path) override;
  void removeFolder(std::string_view path) override;

 private:
  // A file given the content of from (give links or moves it to), recorded.
  template <class Give>
  void place(std::string_view from, std::string_view to, Give give);

  Recorder& recorder_;
};

}  // namespace journal
