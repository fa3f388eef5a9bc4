#include "core/locations.h"

#include "core/environment.h"

namespace core {

namespace {
std::string folderOf(const std::string& file) {
  auto pos = file.find_last_of('/');
  if (pos == std::string::npos) return ".";
  return pos == 0 ? "/" : file.substr(0, pos);
}
}  // namespace

Locations Locations::fromEnvironment(const Environment& env, const std::string& executablePath) {
  Locations loc;
  const std::string home = env.home();
  loc.dataHome = env.getOr("XDG_DATA_HOME", home + "/.local/share");
  loc.configHome = env.getOr("XDG_CONFIG_HOME", home + "/.config");
  loc.appFolder = env.getOr("HANGARPAK_HOME", loc.dataHome + "/hangarpak");
  loc.programFolder = folderOf(executablePath);
  const std::string prefix = folderOf(loc.programFolder);
  loc.shareFolder = (prefix == "/" ? "" : prefix) + "/share";
  loc.registryFile = loc.configHome + "/hangarpak/registry.ini";
  return loc;
}

}  // namespace core
