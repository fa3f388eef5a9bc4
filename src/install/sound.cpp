#include "install/sound.h"

#include <set>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/list_input.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/member_scope.h"
#include "install/placement.h"
#include "install/placer.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using Test = PlacementRule::Test;

// The wave file a "filename" field of sound.cfg names: the value up to its
// first comma, trimmed, with ".wav" (the simulator gives names without it).
std::string waveOfField(std::string_view field) {
  std::string value = core::listInputValue(field);
  auto comma = value.find(',');
  if (comma != std::string::npos) value.erase(comma);
  return core::trim(value) + ".wav";
}

void installSound(core::Context& ctx, MemberScope& scope, Placer& placer, bool package) {
  auto& s = ctx.state;
  s.tempZipPath = TempZipPrefix(ctx);
  const std::string& t = s.tempZipPath;
  const std::string store = s.simFolder + "\\aircraft\\fsfsconv\\sound." + s.installFolderName + "\\";
  const std::string w = package ? store : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\sound\\";
  const std::string docOf = package ? store + "Doc\\" : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\Doc\\";
  const std::optional<std::string> doc = core::isOn(s.optInstallDoc) ? std::optional(docOf) : std::nullopt;

  const auto plain = scope.remainingPlain(ctx);
  const ArchiveMember* cfg = placer.choose(scope, plain, "sound.cfg", w);
  if (cfg) {
    std::string bytes;
    core::step([&] { bytes = ctx.fs.readFile(t + cfg->stored); });
    std::set<std::string> named;
    for (const auto& field : core::listInputFieldsOfFile(bytes)) {
      if (core::lower(core::left(field, 8)) != "filename") continue;
      const std::string wave = waveOfField(field);
      if (!core::IsSafeName(wave) || !named.insert(core::lower(wave)).second) continue;
      if (const ArchiveMember* m = placer.choose(scope, plain, wave, w, &cfg->folder))
        placer.placeOne(scope, {m, w, wave, true}, doc);
    }
  }

  std::vector<PlacementRule> rules = {
      {Test::WholeName, "sound.cfg", w},
      {Test::EndsWith, "wav", package ? std::optional<std::string>(s.simFolder + "\\sound\\") : std::nullopt},
  };
  if (package && doc) rules.push_back({Test::Anything, "", doc});
  // A package's step is its last; an aircraft's placement follows.
  placer.place(scope, PlacementsByRules(scope.remainingPlain(ctx), rules), doc, package);

  if (cfg) {
    scope.take(*cfg);
    if (scope.owns(*cfg) && core::FileExists(ctx, t + cfg->stored))
      core::step([&] { ctx.fs.deleteFile(t + cfg->stored); });
  }

  if (!package) return;
  ++s.installedCount;
  s.catalogueStale = true;
  if (core::isOn(s.optAddonName) && AskAddonName(ctx, core::NamePrompt::SoundName))
    core::WriteProfileString(ctx, w + "sound.cfg", "Hangarpak", "Name", s.archiveBaseName).orThrow();
}
}  // namespace

void InstallSound(core::Context& ctx, const ArchiveMembers& members) {
  const auto& s = ctx.state;
  MemberScope scope(members, s.simFolder + "\\aircraft\\fsfsconv\\sound." + s.installFolderName + "\\");
  Placer placer(ctx, members);
  installSound(ctx, scope, placer, true);
}

void InstallAircraftSound(core::Context& ctx, MemberScope& scope, Placer& placer) {
  installSound(ctx, scope, placer, false);
}

}  // namespace install
