#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A temporary host folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Writes and reads host files for test set-up (parents made as needed).
void writeHostFile(const std::string& hostPath, std::string_view bytes);
std::string readHostFile(const std::string& hostPath);
bool hostExists(const std::string& hostPath);
// The names in a host folder, sorted by their bytes; none for a missing one.
std::vector<std::string> hostNames(const std::string& hostFolder);

}  // namespace testsupport
