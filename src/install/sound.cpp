#include "install/sound.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/install_folders.h"
#include "install/placement.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using Test = PlacementRule::Test;

// The wave file a "filename" field of sound.cfg names: the value up to its
// first comma, trimmed, with ".wav" (the simulator gives names without it).
std::string waveOfField(std::string_view field) {
  std::string value = ValueOfField(field);
  auto comma = value.find(',');
  if (comma != std::string::npos) value.erase(comma);
  return core::trim(value) + ".wav";
}
}  // namespace

void InstallSound(core::Context& ctx) {
  auto& s = ctx.state;
  s.tempZipPath = TempZipPrefix(ctx);
  const std::string& t = s.tempZipPath;
  const bool package = s.packageKind == core::PackageKind::Sound;
  const std::string store = s.simFolder + "\\aircraft\\fsfsconv\\sound." + s.installFolderName + "\\";
  const std::string w = package ? store : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\sound\\";

  const bool hasCfg = core::FileExists(ctx, t + "sound.cfg");
  if (hasCfg) {
    for (const auto& field : ReadListInputFields(ctx, t + "sound.cfg")) {
      if (core::lower(core::left(field, 8)) != "filename") continue;
      const std::string wave = waveOfField(field);
      if (core::IsSafeName(wave)) MoveToTarget(ctx, t + wave, w + wave);
    }
  }

  std::vector<PlacementRule> rules = {
      {Test::WholeName, "sound.cfg", w},
      {Test::EndsWith, "wav", package ? std::optional<std::string>(s.simFolder + "\\sound\\") : std::nullopt},
  };
  if (package && s.optInstallDoc == 1) rules.push_back({Test::Anything, "", store + "Doc\\"});
  PlaceFiles(ctx, rules);

  if (core::FileExists(ctx, t + "sound.cfg")) core::step([&] { ctx.fs.deleteFile(t + "sound.cfg"); });

  if (!package) return;
  ++s.installedCount;
  s.catalogueStale = 1;
  if (s.optAddonName == 1 && AskAddonName(ctx, 4))
    core::WriteProfileString(ctx, w + "sound.cfg", "Hangarpak", "Name", s.archiveBaseName).orThrow();
}

}  // namespace install
