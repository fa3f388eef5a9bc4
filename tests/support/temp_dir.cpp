#include "support/temp_dir.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace fsys = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fsys::temp_directory_path() / "hangarpak-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files and folders must not keep the folder alive.
  for (auto it = fsys::recursive_directory_iterator(path_, ec); !ec && it != fsys::recursive_directory_iterator();
       it.increment(ec))
    fsys::permissions(it->path(), fsys::perms::owner_all, fsys::perm_options::add, ec);
  fsys::remove_all(path_, ec);
}

void writeHostFile(const std::string& hostPath, std::string_view bytes) {
  fsys::create_directories(fsys::path(hostPath).parent_path());
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + hostPath);
}

std::string readHostFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + hostPath);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> hostNames(const std::string& hostFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fsys::directory_iterator(hostFolder, ec); !ec && it != fsys::directory_iterator(); it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool hostExists(const std::string& hostPath) {
  std::error_code ec;
  return fsys::exists(fsys::symlink_status(hostPath, ec));
}

}  // namespace testsupport
