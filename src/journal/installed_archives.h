#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

namespace journal {

// Tells which files hold an archive the journal records as installed, by
// its size and content hash. Only a file of the size of an installed
// archive is read, and a file read once is read again only when its size or
// time changed, so that a folder of a thousand archives lists at once.
class InstalledArchives {
 public:
  // Takes the journal's installed archives anew: none when the application
  // folder has no journal or it cannot be read (an install names that).
  void reload(const std::string& appFolder);
  // Whether the host file holds an installed archive; a file that cannot be
  // read does not.
  bool installed(const std::string& hostPath);
  // How many files were read for their hash so far.
  int filesHashed() const { return filesHashed_; }

 private:
  struct Read {
    std::uint64_t size = 0;
    std::filesystem::file_time_type time;
    std::string hash;
  };
  std::map<std::uint64_t, std::set<std::string>> hashesBySize_;
  std::unordered_map<std::string, Read> read_;
  int filesHashed_ = 0;
};

}  // namespace journal
