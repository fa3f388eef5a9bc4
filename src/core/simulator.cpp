#include "core/simulator.h"

#include <array>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace core {

namespace {

constexpr std::array<SimulatorInfo, 3> kSimulators{{
    {simver::FS98, "Flight Simulator 98", "fltsim98.exe", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.1",
     "Path", "ProductID"},
    {simver::FS2000, "Flight Simulator 2000", "fs2000.exe",
     "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0", "Path", "PID"},
    {simver::FS2002, "Flight Simulator 2002", "fs2002.exe",
     "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0", "EXE Path", "PID"},
}};

bool hasExe(Context& ctx, std::string_view folder, std::string_view exe) {
  return FileExists(ctx, std::string(folder) + "\\" + std::string(exe));
}

// A folder that also holds a newer version's executable belongs to that
// version: FS2002 and FS2000 were often installed over each other's folders.
bool keepsFolder(Context& ctx, const SimulatorInfo& sim) {
  const std::string& folder = ctx.state.simFolder;
  switch (sim.version) {
    case simver::FS2002:
      return hasExe(ctx, folder, "fs2002.exe");
    case simver::FS2000:
      return !hasExe(ctx, folder, "fs2002.exe") && hasExe(ctx, folder, "fs2000.exe");
    default:
      return !hasExe(ctx, folder, "fs2002.exe") && !hasExe(ctx, folder, "fs2000.exe") &&
             hasExe(ctx, folder, "fltsim98.exe");
  }
}

void useFolder(Context& ctx, const std::string& folder) {
  ctx.settings.save("Hangarpak", "Main", "FS Path", folder);
  ctx.state.simFolder = folder;
}

void locateManually(Context& ctx, const SimulatorInfo& sim) {
  const std::string product(sim.product), exe(sim.exe);
  try {
    ctx.dialogs.msgBox("Please find your " + product + " main directory", "Find " + exe, Buttons::OK,
                       Icon::Information);
    // A simulator folder copied into a prefix's drive_c from an old disk has
    // no registry entry; the dialog then starts where it lies.
    std::string start;
    if (ctx.winePrefixes)
      if (auto folder = ctx.winePrefixes->executableFolderFor(sim.version))
        start = ctx.drives.toWindows(*folder).value_or("");
    auto chosen = ctx.dialogs.openFile("Find " + product + " main directory", product + " (" + exe + ")|" + exe, start);
    if (!chosen) throw EndProgram{};
    // The name of the chosen file is not checked; its length is what is cut.
    const std::string folder = dropRight(*chosen, sim.version == simver::FS98 ? 13 : 11);
    WriteReg(ctx, "LM", sim.key, sim.markerValue, "Any Value");
    WriteReg(ctx, "LM", sim.key, sim.folderValue, folder);
    useFolder(ctx, folder);
  } catch (const RuntimeError&) {
    // Without a simulator folder there is nothing the program can do.
    throw EndProgram{};
  }
}

}  // namespace

const SimulatorInfo* simulatorInfo(int version) {
  for (const auto& sim : kSimulators)
    if (sim.version == version) return &sim;
  return nullptr;
}

bool SimulatorRegistered(Context& ctx, int version) {
  const SimulatorInfo* sim = simulatorInfo(version);
  return sim && !ReadReg(ctx, "LM", sim->key, sim->markerValue).empty();
}

std::string DetectedFolder(Context& ctx, int version) {
  const SimulatorInfo* sim = simulatorInfo(version);
  if (!sim) return {};
  UseSimulatorPrefix(ctx, version);
  if (keepsFolder(ctx, *sim)) return ctx.state.simFolder;
  const std::string registered = ReadReg(ctx, "LM", sim->key, sim->folderValue);
  return !registered.empty() && hasExe(ctx, registered, sim->exe) ? registered : std::string();
}

void FindSimulator(Context& ctx) {
  const SimulatorInfo* sim = simulatorInfo(ctx.state.simVersion);
  if (!sim) {
    FsOptForm chooser(ctx);
    ctx.dialogs.runModal(chooser);
    return;
  }
  // Under Wine the version's prefix supplies the drives and the registry.
  UseSimulatorPrefix(ctx, sim->version);
  if (keepsFolder(ctx, *sim)) return;

  const std::string registered = ReadReg(ctx, "LM", sim->key, sim->folderValue);
  if (!registered.empty() && hasExe(ctx, registered, sim->exe)) {
    useFolder(ctx, registered);
    return;
  }
  locateManually(ctx, *sim);
}

FsOptForm::FsOptForm(Context& ctx) : ctx_(ctx) {
  caption = "Choose FS version";
}

void FsOptForm::Form_Load() {
  select(fs98Opt);
}

void FsOptForm::select(OptionButton& button) {
  for (OptionButton* b : {&fs2002Opt, &fs2000Opt, &fs98Opt}) b->value = (b == &button);
  changed();
}

void FsOptForm::Form_Unload() {
  ctx_.state.simVersion = fs98Opt.value ? simver::FS98 : fs2000Opt.value ? simver::FS2000 : simver::FS2002;
}

}  // namespace core
