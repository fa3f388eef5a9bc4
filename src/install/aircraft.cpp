#include "install/aircraft.h"

#include "core/context.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "install/install_folders.h"
#include "install/panel.h"
#include "install/placement.h"
#include "install/sound.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using Test = PlacementRule::Test;

std::vector<PlacementRule> aircraftRules(const core::AppState& s, const std::string& a) {
  std::vector<PlacementRule> rules = {
      {Test::WholeName, "aircraft.cfg", a + "\\"},
      {Test::EndsWith, "air", a + "\\"},
      {Test::WholeName, "model.cfg", a + "\\Model\\"},
      {Test::EndsWith, "mdl", a + "\\Model\\"},
      {Test::EndsWith, "mpi", a + "\\Model\\"},
      {Test::EndsWith, "nmp", a + "\\Model\\"},
      {Test::EndsWith, "af", a + "\\Texture\\"},
      {Test::EndsWith, "bmp", a + "\\Texture\\"},
      {Test::EndsWith, "wav", s.simFolder + "\\sound\\"},
      {Test::EndsWith, "notes.txt", a + "\\"},
      // Gauges are placed by the panel installer already.
      {Test::EndsWith, "gau", std::nullopt},
  };
  if (s.optInstallDoc == 1) rules.push_back({Test::Anything, "", a + "\\Doc\\"});
  return rules;
}

// Writes the add-on name into a configuration file the aircraft has; a
// missing panel.cfg or sound.cfg is not made, since a file holding nothing
// but the name would be listed as a panel or sound set of its own.
void writeNameIfPresent(core::Context& ctx, const std::string& file, const std::string& name) {
  if (core::FileExists(ctx, file)) core::WriteProfileString(ctx, file, "Hangarpak", "Name", name).orThrow();
}
}  // namespace

void InstallAircraft(core::Context& ctx) {
  auto& s = ctx.state;
  const std::string a = s.simFolder + "\\aircraft\\" + s.installFolderName;
  const std::string t = TempZipPrefix(ctx);

  InstallSound(ctx);
  InstallPanel(ctx);

  std::string checklist = core::ReadProfileString(ctx, t + "aircraft.cfg", "fltsim.0", "kb_checklists", "") + ".txt";
  if (checklist == ".txt")
    checklist = core::ReadProfileString(ctx, t + "aircraft.cfg", "fltsim.0", "checklists", "") + ".cfg";
  const std::string reference =
      core::ReadProfileString(ctx, t + "aircraft.cfg", "fltsim.0", "kb_reference", "") + ".txt";
  for (const auto& name : {checklist, reference})
    if (core::IsSafeName(name)) MoveToTarget(ctx, t + name, a + "\\" + name);

  PlaceFiles(ctx, aircraftRules(s, a));

  if (s.optAddonName == 1) {
    s.archiveBaseName = core::ReadProfileString(ctx, a + "\\aircraft.cfg", "fltsim.0", "title", "");
    if (AskAddonName(ctx, 2)) {
      core::WriteProfileString(ctx, a + "\\aircraft.cfg", "fltsim.0", "title", s.archiveBaseName).orThrow();
      writeNameIfPresent(ctx, a + "\\panel\\panel.cfg", s.archiveBaseName);
      writeNameIfPresent(ctx, a + "\\sound\\sound.cfg", s.archiveBaseName);
    }
  }
  ++s.installedCount;
  s.catalogueStale = 1;
}

}  // namespace install
