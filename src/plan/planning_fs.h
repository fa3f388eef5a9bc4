#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/fs.h"
#include "plan/install_plan.h"

namespace plan {

// A file system that plans instead of writing. Reads fall through to the
// real one but see what the plan has written, made or deleted so far, so an
// installer's later checks behave as in a real run; writes, copies,
// renames, deletions and folder changes are kept in memory and never reach
// the disk. Only the pass-through folder (the extraction folder) is really
// written, since extraction and classification work on real files. The
// errors are those of the real file system for the same operations.
class PlanningFileSystem : public core::FileSystem {
 public:
  // scratchHostFolder: a host folder the planner owns beside the pass-through
  // folder, on the same file system, for the bytes of extracted files the
  // plan copies (hard links, so that clearing the extraction folder does not
  // lose them).
  PlanningFileSystem(core::FileSystem& real, std::string scratchHostFolder);
  ~PlanningFileSystem() override;

  // The Windows folder really written; asked at every call, since the
  // application folder's name may change with the drive table.
  void setPassThrough(std::function<std::string()> folder) { passThrough_ = std::move(folder); }
  // The archive the following changes belong to (index into the plan).
  void setArchive(std::size_t index) { archive_ = index; }

  struct Changes {
    std::vector<PlannedFile> files;
    std::vector<PlannedFolder> folders;
  };
  // The net changes since the last call, in the order first touched: a file
  // written and deleted again (a temporary one) is no change.
  Changes takeChanges();

  bool fileExists(std::string_view path) override;
  bool folderExists(std::string_view path) override;
  std::vector<std::string> listFiles(std::string_view folder, std::string_view patterns, bool includeHidden) override;
  std::vector<std::string> listFolders(std::string_view folder) override;
  std::uint64_t fileSize(std::string_view path) override;
  std::string readFile(std::string_view path) override;
  void writeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<core::FileWriter> createFile(std::string_view path) override;
  std::unique_ptr<core::FileWriter> createScratchFile(std::string_view path) override;
  void copyFile(std::string_view from, std::string_view to) override;
  void renameFile(std::string_view from, std::string_view to) override;
  void deleteFile(std::string_view path) override;
  void makeFolder(std::string_view path) override;
  void removeFolder(std::string_view path) override;
  unsigned attributes(std::string_view path) override;
  void setAttributes(std::string_view path, unsigned attributes) override;
  std::uint64_t freeSpace(std::string_view path) override { return real_.freeSpace(path); }
  std::string hostPath(std::string_view path) override { return real_.hostPath(path); }

  // The bytes of a file as planned (for tests and a writer's commit).
  struct Content;

 private:
  struct Node;
  struct Before;
  // A file written into the pass-through folder, as its writer saw it.
  struct Written {
    std::uint64_t size = 0;
    std::string hash;
  };
  friend class PlannedWriter;
  friend class PassThroughWriter;

  bool passesThrough(const std::string& key);
  Node* node(const std::string& key);
  // The file at path as the plan sees it: its content, or nullptr.
  std::shared_ptr<Content> fileAt(std::string_view path, const std::string& key);
  bool isFolder(std::string_view path, const std::string& key);
  // Whether the real tree has nothing at key that the plan has no node for:
  // key lies in a folder the plan made where the real tree had nothing.
  bool onlyPlanned(const std::string& key);
  // Forgets what was written at a pass-through path about to change.
  void passThroughChanges(const std::string& key) { written_.erase(key); }
  void touch(std::string_view path, const std::string& key);
  void putFile(std::string_view path, std::shared_ptr<Content> content);
  void refuseWriteTo(std::string_view path, const std::string& key);
  std::shared_ptr<Content> sourceContent(std::string_view from);
  std::string snapshot(const std::string& hostPath);
  template <class Keep>
  std::vector<std::string> list(std::string_view folder, std::vector<std::string> names, Keep keep);

  core::FileSystem& real_;
  std::string scratch_;
  int snapshots_ = 0;
  std::function<std::string()> passThrough_;
  std::size_t archive_ = 0;
  std::map<std::string, Node> nodes_;  // by lower-case normalised path
  std::map<std::string, Before> before_;
  std::vector<std::string> touched_;
  // The files written into the pass-through folder and not changed since,
  // by key, so that the plan takes their size and hash without reading them.
  std::unordered_map<std::string, Written> written_;
};

}  // namespace plan
