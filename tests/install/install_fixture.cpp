#include "install/install_fixture.h"

#include <algorithm>
#include <filesystem>

namespace installtest {

std::vector<std::string> InstallFixture::tempZipFiles() const {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(tempZipHost(), ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
    out.push_back(it->path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::string InstallFixture::tempZipFile(const std::string& name) const {
  return testsupport::readHostFile(tempZipHost() + "/" + name);
}

}  // namespace installtest
