#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

namespace core {

// The folders in which this process makes the temporary files of atomic
// writes, so that a start after a killed run looks for their leftovers
// there and nowhere else. Each process keeps one record in the application
// folder (writes-in-progress/run-XXXXXX), locked for as long as the process
// lives; a folder is named in it before the first temporary file is made
// there (synced to the disk first for the writes that are themselves synced).
// The record goes when the process ends normally, every write by then
// committed or discarded. Safe to use from several threads.
//
// The record is kept only where the application folder exists (the
// program's start makes it); without one, or on a disk too full for a line
// more, writes go ahead unrecorded: what a killed one then leaves is a
// hidden temporary file, which the next write of the same file removes.
class WritesInProgress {
 public:
  explicit WritesInProgress(std::string appFolder);
  ~WritesInProgress();
  WritesInProgress(const WritesInProgress&) = delete;
  WritesInProgress& operator=(const WritesInProgress&) = delete;

  // Names the host folder in the record, once per folder, on the disk when
  // durable; false when it could not.
  [[nodiscard]] bool enter(const std::string& hostFolder, bool durable);

 private:
  bool open();

  std::string appFolder_;
  std::string path_;
  int fd_ = -1;
  std::unordered_map<std::string, bool> entered_;  // folder -> synced to the disk
  bool recordSynced_ = false;
  std::mutex mutex_;
};

// Removes the temporary files that runs which ended without removing their
// record (killed) abandoned in the folders their records name, then the
// records. Records of runs still going are left alone, and so are the
// temporary files of their writes. Returns the number of files removed.
int RemoveLeftoversOfEndedRuns(const std::string& appFolder);

}  // namespace core
