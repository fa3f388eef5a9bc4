#include "support/fake_prefix.h"

#include <filesystem>

#include "support/temp_dir.h"

namespace testsupport {

namespace {
// Wine doubles every backslash of a key name and of a string.
std::string escaped(std::string_view s) {
  std::string out;
  for (char c : s) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}
}  // namespace

void makeFakePrefix(const std::string& path, std::string_view systemKeys, std::string_view userKeys) {
  namespace fsys = std::filesystem;
  const std::string head = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
  writeHostFile(path + "/system.reg", head + std::string(systemKeys));
  writeHostFile(path + "/user.reg", head + std::string(userKeys));
  fsys::create_directories(path + "/drive_c/windows");
  fsys::create_directories(path + "/dosdevices");
  fsys::create_symlink("../drive_c", path + "/dosdevices/c:");
  fsys::create_symlink("/", path + "/dosdevices/z:");
}

std::string simulatorKeyBlock(std::string_view version, std::string_view folderValue, std::string_view folder,
                              std::string_view markerValue, std::string_view marker, bool wow6432) {
  const std::string key = std::string(wow6432 ? "Software\\Wow6432Node" : "Software") +
                          "\\Microsoft\\Microsoft Games\\Flight Simulator\\" + std::string(version);
  return "[" + escaped(key) + "] 1733581234\n#time=1db48e0c3a6e1f2\n\"" + std::string(folderValue) + "\"=\"" +
         escaped(folder) + "\"\n\"" + std::string(markerValue) + "\"=\"" + std::string(marker) + "\"\n\n";
}

}  // namespace testsupport
