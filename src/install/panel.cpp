#include "install/panel.h"

#include <algorithm>
#include <set>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/list_input.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/fonts_folder.h"
#include "install/member_scope.h"
#include "install/placement.h"
#include "install/placer.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using Test = PlacementRule::Test;

bool isGauge(const ArchiveMember& member) {
  return core::lower(core::right(member.name, 3)) == "gau";
}

void installPanel(core::Context& ctx, MemberScope& scope, Placer& placer, bool package) {
  auto& s = ctx.state;
  s.tempZipPath = TempZipPrefix(ctx);
  const std::string& t = s.tempZipPath;
  const std::string store = s.simFolder + "\\aircraft\\fsfsconv\\panel." + s.installFolderName + "\\";
  const std::string p = package ? store : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\panel\\";
  const std::string docOf = package ? store + "Doc\\" : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\Doc\\";
  const std::optional<std::string> doc = core::isOn(s.optInstallDoc) ? std::optional(docOf) : std::nullopt;

  const auto plain = scope.remainingPlain(ctx);
  const ArchiveMember* cfg = placer.choose(scope, plain, "panel.cfg", p);
  if (cfg) {
    std::string bytes;
    core::step([&] { bytes = ctx.fs.readFile(t + cfg->stored); });
    std::set<std::string> named;
    for (const auto& field : core::listInputFieldsOfFile(bytes)) {
      if (core::lower(core::left(field, 4)) != "file") continue;
      // The value as the scans read it: "file = day.bmp" names day.bmp.
      const std::string bitmap = core::listInputValue(field);
      if (!core::IsSafeName(bitmap) || !named.insert(core::lower(bitmap)).second) continue;
      if (const ArchiveMember* m = placer.choose(scope, plain, bitmap, p, &cfg->folder))
        placer.placeOne(scope, {m, p, bitmap, true}, doc);
    }
  }

  // The gauges of an aircraft's variant panels go to the shared folder too;
  // the rest of its variant folders goes with them (InstallAircraft).
  auto members = scope.remaining(ctx);
  std::erase_if(members, [&](const ArchiveMember* m) { return scope.variantOf(*m) && !isGauge(*m); });
  // The fonts folder is looked for (and made) only for a panel that ships fonts.
  const bool hasFonts = std::any_of(members.begin(), members.end(),
                                    [](const ArchiveMember* m) { return core::iendsWith(m->name, "ttf"); });
  std::vector<PlacementRule> rules = {
      {Test::WholeName, "panel.cfg", p},
      {Test::EndsWith, "gau", s.simFolder + "\\gauges\\"},
      {Test::EndsWith, "wav", s.simFolder + "\\sound\\"},
      {Test::EndsWith, "ttf", hasFonts ? FontsFolder(ctx) : std::nullopt},
  };
  if (package && doc) rules.push_back({Test::Anything, "", doc});
  // A package's step is its last; an aircraft's placement follows.
  placer.place(scope, PlacementsByRules(members, rules), doc, package);

  if (cfg) {
    scope.take(*cfg);
    if (scope.owns(*cfg) && core::FileExists(ctx, t + cfg->stored))
      core::step([&] { ctx.fs.deleteFile(t + cfg->stored); });
  }

  if (!package) return;
  ++s.installedCount;
  s.catalogueStale = true;
  if (core::isOn(s.optAddonName) && AskAddonName(ctx, core::NamePrompt::PanelName))
    core::WriteProfileString(ctx, p + "panel.cfg", "Hangarpak", "Name", s.archiveBaseName).orThrow();
}
}  // namespace

void InstallPanel(core::Context& ctx, const ArchiveMembers& members) {
  const auto& s = ctx.state;
  MemberScope scope(members, s.simFolder + "\\aircraft\\fsfsconv\\panel." + s.installFolderName + "\\");
  Placer placer(ctx, members);
  installPanel(ctx, scope, placer, true);
}

void InstallAircraftPanel(core::Context& ctx, MemberScope& scope, Placer& placer) {
  installPanel(ctx, scope, placer, false);
}

}  // namespace install
