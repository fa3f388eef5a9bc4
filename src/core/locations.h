#pragma once

#include <string>

namespace core {

class Environment;

// Where the program keeps its own files on this platform (host paths).
struct Locations {
  // TempZip, TempAdv, print.txt, the lock file: $HANGARPAK_HOME, else
  // $XDG_DATA_HOME/hangarpak, else ~/.local/share/hangarpak.
  std::string appFolder;
  // The association command: the executable's folder.
  std::string programFolder;
  // The help page (hangarpak/help) and the icons (icons/hicolor): the share
  // folder beside the executable's, <prefix>/share for <prefix>/bin/hangarpak.
  // The build lays out build/share beside build/src the same way.
  std::string shareFolder;
  // $XDG_CONFIG_HOME, else ~/.config; settings are <configHome>/<app>/settings.ini.
  std::string configHome;
  // <configHome>/hangarpak/registry.ini
  std::string registryFile;
  // $XDG_DATA_HOME, else ~/.local/share (desktop entries, fonts).
  std::string dataHome;

  static Locations fromEnvironment(const Environment& env, const std::string& executablePath);
};

}  // namespace core
