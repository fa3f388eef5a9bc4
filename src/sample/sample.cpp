#include "sample/sample.h"

#include <sys/stat.h>

#include <stdexcept>

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/registry.h"
#include "core/simulator.h"
#include "sample/host_files.h"
#include "sample/standins.h"
#include "sample/tree.h"

namespace sample {

namespace {
constexpr int MaxAircraft = 100000;
constexpr const char* SceneryInstaller = "Program Files/Ortholay/Ortholay.exe";
constexpr std::string_view AppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ortholay.exe";

std::string simulatorName(int version) {
  return version == 61 ? "FS98" : version == 70 ? "FS2000" : "FS2002";
}
}  // namespace

// Thousands of files share a few folders each; make each folder once.
void Tree::file(const std::string& relative, std::string_view bytes) {
  const auto slash = relative.find_last_of('/');
  if (slash != std::string::npos && made_.insert(relative.substr(0, slash)).second)
    core::makeHostFolders(host(relative.substr(0, slash)));
  writeHostFileInFolder(host(relative), bytes);
}

void Tree::program(const std::string& relative, std::string_view bytes) {
  file(relative, bytes);
  ::chmod(host(relative).c_str(), 0755);
}

void Tree::folder(const std::string& relative) {
  core::makeHostFolders(host(relative));
}

std::string crlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

Contents writeSample(const std::string& hostRoot, const Options& options) {
  if (!core::simulatorInfo(options.version))
    throw std::invalid_argument("the version is 61, 70 or 80, not " + std::to_string(options.version));
  if (options.aircraft < HandMadeAircraft || options.aircraft > MaxAircraft)
    throw std::invalid_argument("the number of aircraft is " + std::to_string(HandMadeAircraft) + " to " +
                                std::to_string(MaxAircraft));
  Contents contents;
  contents.root = hostRoot;
  contents.simName = simulatorName(options.version);
  contents.simFolder = hostRoot + "/" + contents.simName;
  contents.downloads = hostRoot + "/Downloads";
  contents.sceneryInstaller = hostRoot + "/" + SceneryInstaller;

  Tree tree(hostRoot, contents);
  writeSimulator(tree, options);
  writeFleet(tree, options.aircraft - HandMadeAircraft);
  writeDownloads(tree, options.version);
  tree.program(SceneryInstaller, standInProgram(options.standInInterpreter, "the scenery installer Ortholay"));
  return contents;
}

bool registerSample(core::Context& ctx, const Contents& contents, int version) {
  const core::SimulatorInfo* info = core::simulatorInfo(version);
  const auto simFolder = ctx.drives.toWindows(contents.simFolder);
  const auto installer = ctx.drives.toWindows(contents.sceneryInstaller);
  if (!info || !simFolder || !installer) return false;
  ctx.registry.setValue(core::Hive::LocalMachine, info->key, info->markerValue, "Sample");
  ctx.registry.setValue(core::Hive::LocalMachine, info->key, info->folderValue, *simFolder);
  ctx.registry.setValue(core::Hive::LocalMachine, AppPathsKey, "", *installer);
  return true;
}

}  // namespace sample
