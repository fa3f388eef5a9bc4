#include "install/aircraft.h"

#include <map>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/member_scope.h"
#include "install/panel.h"
#include "install/placement.h"
#include "install/placer.h"
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
  if (core::isOn(s.optInstallDoc)) rules.push_back({Test::Anything, "", a + "\\Doc\\"});
  return rules;
}

// Writes the add-on name into a configuration file the aircraft has; a
// missing panel.cfg or sound.cfg is not made, since a file holding nothing
// but the name would be listed as a panel or sound set of its own.
void writeNameIfPresent(core::Context& ctx, const std::string& file, const std::string& name) {
  if (core::FileExists(ctx, file)) core::WriteProfileString(ctx, file, "Hangarpak", "Name", name).orThrow();
}

// The members of the aircraft's variant folders, into folders of the same
// names (made here, with their sub-folders) in the aircraft folder a. Each
// variant folder is told to the journal once, as the archive names it.
std::vector<Placement> variantPlacements(core::Context& ctx, MemberScope& scope, const std::string& a) {
  std::vector<Placement> placements;
  std::map<std::string, bool> made;  // lower-case folders below a
  for (const ArchiveMember* m : scope.remaining(ctx)) {
    const auto variant = scope.variantOf(*m);
    // Gauges went to the shared folder with the panel.
    if (!variant || core::lower(core::right(m->name, 3)) == "gau") continue;
    const std::string top = variant->substr(0, variant->find('\\'));
    if (!made.count(core::lower(top)) && ctx.journal)
      ctx.journal->folderPlaced(core::dropRight(m->folder, variant->size() - top.size()), a + "\\" + top);
    for (std::size_t end = variant->find('\\');; end = variant->find('\\', end + 1)) {
      const std::string folder = variant->substr(0, end);
      if (made.try_emplace(core::lower(folder), true).second) core::step([&] { ctx.fs.makeFolder(a + "\\" + folder); });
      if (end == std::string::npos) break;
    }
    placements.push_back({m, a + "\\" + *variant + "\\"});
  }
  return placements;
}
}  // namespace

void InstallAircraft(core::Context& ctx, MemberScope& scope, Placer& placer) {
  auto& s = ctx.state;
  const std::string a = s.simFolder + "\\aircraft\\" + s.installFolderName;
  const std::string t = TempZipPrefix(ctx);
  const std::optional<std::string> doc = core::isOn(s.optInstallDoc) ? std::optional(a + "\\Doc\\") : std::nullopt;

  InstallAircraftSound(ctx, scope, placer);
  InstallAircraftPanel(ctx, scope, placer);

  const auto plain = scope.remainingPlain(ctx);
  if (const ArchiveMember* cfg = placer.choose(scope, plain, "aircraft.cfg", a + "\\")) {
    const std::string config = t + cfg->stored;
    std::string checklist = core::ReadProfileString(ctx, config, "fltsim.0", "kb_checklists", "") + ".txt";
    if (checklist == ".txt") checklist = core::ReadProfileString(ctx, config, "fltsim.0", "checklists", "") + ".cfg";
    const std::string reference = core::ReadProfileString(ctx, config, "fltsim.0", "kb_reference", "") + ".txt";
    for (const auto& name : {checklist, reference}) {
      if (!core::IsSafeName(name)) continue;
      if (const ArchiveMember* m = placer.choose(scope, plain, name, a + "\\", &cfg->folder))
        placer.placeOne(scope, {m, a + "\\", name, true}, doc);
    }
  }

  std::vector<Placement> placements = variantPlacements(ctx, scope, a);
  const auto byName = PlacementsByRules(scope.remainingPlain(ctx), aircraftRules(s, a));
  placements.insert(placements.end(), byName.begin(), byName.end());
  // Nothing after this step looks for the aircraft's members in TempZip.
  placer.place(scope, placements, doc, true);

  if (core::isOn(s.optAddonName)) {
    s.archiveBaseName = core::ReadProfileString(ctx, a + "\\aircraft.cfg", "fltsim.0", "title", "");
    if (AskAddonName(ctx, core::NamePrompt::AircraftName)) {
      core::WriteProfileString(ctx, a + "\\aircraft.cfg", "fltsim.0", "title", s.archiveBaseName).orThrow();
      writeNameIfPresent(ctx, a + "\\panel\\panel.cfg", s.archiveBaseName);
      writeNameIfPresent(ctx, a + "\\sound\\sound.cfg", s.archiveBaseName);
    }
  }
}

}  // namespace install
