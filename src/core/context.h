#pragma once

#include <string>

#include "core/app_state.h"
#include "core/environment.h"
#include "core/locations.h"
#include "core/paths.h"
#include "core/window_host.h"

namespace core {

class FileSystem;
class SettingsStore;
class RegistryStore;
class ProcessLauncher;
class Dialogs;
class Printer;
class WinePrefixes;
class ChangeJournal;
class Trash;

// The program-wide state together with the platform services, passed by
// reference everywhere. A test builds a fresh one over a temporary folder.
class Context {
 public:
  Context(Environment env, Locations locations, DriveTable& drives, FileSystem& fs, SettingsStore& settings,
          RegistryStore& registry, ProcessLauncher& processes, Dialogs& dialogs, Printer& printer);

  AppState state;
  Environment env;
  Locations locations;
  DriveTable& drives;  // shared with the file system service

  FileSystem& fs;
  SettingsStore& settings;
  RegistryStore& registry;
  ProcessLauncher& processes;
  Dialogs& dialogs;
  Printer& printer;
  // The Wine prefixes found at start-up; nullptr when nobody looked (tests).
  WinePrefixes* winePrefixes = nullptr;
  // Told of each installation's changes; nullptr records nothing.
  ChangeJournal* journal = nullptr;
  // Where removed add-ons go; nullptr deletes them.
  Trash* trash = nullptr;

  // The application folder as a Windows path ("Z:\home\u\.local\share\hangarpak"),
  // the form the program's path arithmetic works in.
  const std::string& appFolder() const { return appFolderWin_; }
  // Names the application folder anew after the drive table changed; keeps
  // the old name when no drive holds it any more.
  void refreshAppFolder();
  // The executable's name without ".exe" ("hangarpak").
  std::string exeName = "hangarpak";

  // The windows of the ui layer; a no-op host until the ui sets its own.
  WindowHost& windows() { return windowHost_ ? *windowHost_ : nullHost_; }
  void setWindowHost(WindowHost* host) { windowHost_ = host; }

 private:
  std::string appFolderWin_;
  WindowHost nullHost_;
  WindowHost* windowHost_ = nullptr;
};

}  // namespace core
