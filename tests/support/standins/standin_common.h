#pragma once

// Shared by the stand-ins for the outside programs: they find their own
// folder, the drive table and the settings store exactly as the program
// does (from the environment the program starts them with), and append one
// line per run to a log beside themselves for the tests to read.

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/environment.h"
#include "core/locations.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"

namespace standin {

struct Self {
  std::string exePath;   // host path of this program
  std::string folder;    // host folder holding it
  std::string baseName;  // file name without ".exe", lower case ("aafconv98")
  core::Environment env;
  core::Locations locations;
  std::unique_ptr<core::IniSettingsStore> settings;
  core::DriveTable drives;
};

inline Self whoAmI() {
  Self self;
  char buf[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  self.exePath = n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
  const std::filesystem::path exe(self.exePath);
  self.folder = exe.parent_path().string();
  std::string name = core::lower(exe.filename().string());
  self.baseName = core::iendsWith(name, ".exe") ? core::dropRight(name, 4) : name;
  self.env = core::Environment::fromProcess();
  self.locations = core::Locations::fromEnvironment(self.env, self.exePath);
  self.settings = std::make_unique<core::IniSettingsStore>(self.locations.configHome);
  self.drives = core::DriveTable::fromEnvironment(self.env, self.settings.get());
  return self;
}

// The entry of a host folder named name without regard to case, as the
// simulator's files are found; the name itself when there is none.
inline std::string findInFolder(const std::string& folder, const std::string& name) {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    if (core::iequals(e.path().filename().string(), name)) return e.path().string();
  return folder + "/" + name;
}

inline std::string readAll(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void appendLog(const Self& self, const std::string& line) {
  std::ofstream out(self.folder + "/" + self.baseName + ".log", std::ios::app | std::ios::binary);
  out << line << '\n';
}

}  // namespace standin
