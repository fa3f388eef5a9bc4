#pragma once

#include <string>

namespace core {

class Environment;

// Where the program keeps its own files on this platform (host paths).
struct Locations {
  // TempZip, TempAdv, print.txt, the lock file: $HANGARPAK_HOME, else
  // $XDG_DATA_HOME/hangarpak, else ~/.local/share/hangarpak.
  std::string appFolder;
  // Help page, icons, the association command: the executable's folder.
  std::string programFolder;
  // $XDG_CONFIG_HOME, else ~/.config; settings are <configHome>/<app>/settings.ini.
  std::string configHome;
  // <configHome>/hangarpak/registry.ini
  std::string registryFile;
  // $XDG_DATA_HOME, else ~/.local/share (desktop entries, fonts).
  std::string dataHome;

  static Locations fromEnvironment(const Environment& env, const std::string& executablePath);
};

}  // namespace core
