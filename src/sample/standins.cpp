#include "sample/standins.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "core/atomic_file.h"
#include "core/environment.h"
#include "core/errors.h"
#include "core/locations.h"
#include "core/paths.h"
#include "core/profile.h"
#include "core/settings.h"
#include "core/text.h"
#include "sample/host_files.h"

namespace sample {

namespace fsys = std::filesystem;

namespace {

// The stand-in's view of its world, found as the program finds its own.
struct Self {
  std::string folder;    // host folder holding the program
  std::string baseName;  // file name without ".exe", lower case ("aafconv98")
  core::IniSettingsStore settings;
  core::DriveTable drives;
};

std::string readOrEmpty(const std::string& hostPath) {
  try {
    return core::readHostFile(hostPath);
  } catch (const core::RuntimeError&) {
    return {};
  }
}

// The entry of a host folder named name without regard to case, as the
// simulator's files are found; the name itself when there is none.
std::string findInFolder(const std::string& folder, const std::string& name) {
  std::error_code ec;
  for (const auto& e : fsys::directory_iterator(folder, ec))
    if (core::iequals(e.path().filename().string(), name)) return e.path().string();
  return folder + "/" + name;
}

std::vector<std::string> filesWithExtension(const std::string& hostFolder, const std::string& ext) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fsys::directory_iterator(hostFolder, ec))
    if (e.is_regular_file() && core::iendsWith(e.path().filename().string(), ext))
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ",") + n;
  return out;
}

void appendLog(const Self& self, const std::string& line) {
  const std::string log = self.folder + "/" + self.baseName + ".log";
  writeHostFile(log, readOrEmpty(log) + line + "\n");
}

int runConverter(const Self& self, std::ostream& out) {
  const std::string cfg = readOrEmpty(findInFolder(self.folder, self.baseName + ".cfg"));
  auto option = [&](const char* key) { return core::profile::lookup(cfg, "Options", key); };
  const std::optional<std::string> aircraftIn = option("AircraftInputPath");
  const std::optional<std::string> adventureIn = option("AdventureInputPath");
  if (!aircraftIn && !adventureIn) {
    out << self.baseName << " (stand-in): no input path in " << self.baseName << ".cfg\n";
    appendLog(self, "no input path");
    return 1;
  }
  const std::string simWin = self.drives.toWindows(self.folder).value_or("");

  std::vector<std::string> airs;
  if (aircraftIn) {
    const std::string in = self.drives.toHost(*aircraftIn);
    airs = filesWithExtension(in, ".air");
    for (const auto& air : airs) {
      const std::string name = core::dropRight(air, 4);
      const std::string folder = self.drives.toHost(simWin + "\\aircraft\\" + name);
      writeHostFile(folder + "/" + name + ".air", readOrEmpty(in + "/" + air));
      const std::string cfgFile = findInFolder(folder, "aircraft.cfg");
      if (!fsys::exists(cfgFile))
        writeHostFile(cfgFile, "[fltsim.0]\r\ntitle=" + name + " (converted from FS5)\r\nsim=" + name + "\r\n");
      out << self.baseName << " (stand-in): converted " << air << " into " << simWin << "\\aircraft\\" << name << "\n";
    }
  }

  std::vector<std::string> advs;
  if (adventureIn) {
    const std::string in = self.drives.toHost(*adventureIn);
    const std::string signature = self.baseName == "aafconv98" ? "FS6x adventure" : "FS7 adventure";
    advs = filesWithExtension(in, ".adv");
    for (const auto& adv : advs) {
      const std::string bytes = readOrEmpty(in + "/" + adv);
      const auto eol = bytes.find('\n');
      const std::string rest = eol == std::string::npos ? std::string() : bytes.substr(eol + 1);
      writeHostFile(self.drives.toHost(simWin + "\\Adv\\" + adv), signature + "\r\n" + rest);
      out << self.baseName << " (stand-in): converted " << adv << " into " << simWin << "\\Adv\\" << adv << "\n";
    }
  }

  appendLog(self, "aircraft=" + aircraftIn.value_or("") + "|adventure=" + adventureIn.value_or("") + "|sounds=" +
                      option("CopySounds").value_or("") + "|situations=" + option("CopySituations").value_or("") +
                      "|air=" + joined(airs) + "|adv=" + joined(advs));
  return 0;
}

int runSceneryInstaller(Self& self, std::ostream& out) {
  const std::string package = self.settings.get("Ortholay", "General", "QX Start", "");
  std::string seen = "(missing)";
  try {
    const std::string host = self.drives.toHost(package);
    if (fsys::is_regular_file(host)) {
      seen = readOrEmpty(host);
      seen = seen.substr(0, seen.find_first_of("\r\n"));
    }
  } catch (const core::RuntimeError&) {
  }
  out << "ortholay (stand-in): " << (seen == "(missing)" ? "found no package at " : "installed the scenery ") << package
      << "\n";
  appendLog(self, package + "|" + seen);
  return 0;
}

}  // namespace

int runStandIn(const std::string& programHostPath, const core::Environment& env, std::ostream& out) {
  const fsys::path program(programHostPath);
  const std::string name = core::lower(program.filename().string());
  const auto locations = core::Locations::fromEnvironment(env, programHostPath);
  Self self{program.parent_path().string(),
            core::iendsWith(name, ".exe") ? core::dropRight(name, 4) : name,
            core::IniSettingsStore(locations.configHome),
            {}};
  self.drives = core::DriveTable::fromEnvironment(env, &self.settings);
  if (self.baseName == "aafconv" || self.baseName == "aafconv98") return runConverter(self, out);
  if (self.baseName == "ortholay") return runSceneryInstaller(self, out);
  out << program.filename().string() << " is no stand-in of hangarpak\n";
  return 2;
}

std::string standInProgram(const std::string& interpreterHostPath, const std::string& standsInFor) {
  // Linux takes up to 255 bytes on a "#!" line and splits it at the first
  // blank, so such a path goes through the shell, quoted.
  std::string text;
  if (interpreterHostPath.find_first_of(" \t") == std::string::npos && interpreterHostPath.size() < 200) {
    text = "#!" + interpreterHostPath + " stand-in\n";
  } else {
    std::string quoted = "'";
    for (char c : interpreterHostPath) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    text = "#!/bin/sh\nexec " + quoted + "' stand-in \"$0\" \"$@\"\n";
  }
  return text + "# Stand-in for " + standsInFor + ", written by hangarpak-cli sample.\n";
}

}  // namespace sample
