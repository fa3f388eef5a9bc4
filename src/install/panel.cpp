#include "install/panel.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/fonts_folder.h"
#include "install/install_folders.h"
#include "install/placement.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using Test = PlacementRule::Test;
}  // namespace

void InstallPanel(core::Context& ctx) {
  auto& s = ctx.state;
  s.tempZipPath = TempZipPrefix(ctx);
  const std::string& t = s.tempZipPath;
  const bool package = s.packageKind == core::PackageKind::Panel;
  const std::string store = s.simFolder + "\\aircraft\\fsfsconv\\panel." + s.installFolderName + "\\";
  const std::string p = package ? store : s.simFolder + "\\aircraft\\" + s.installFolderName + "\\panel\\";

  if (core::FileExists(ctx, t + "panel.cfg")) {
    for (const auto& field : ReadListInputFields(ctx, t + "panel.cfg")) {
      if (core::lower(core::left(field, 4)) != "file") continue;
      // The name exactly as written after the "=".
      const std::string bitmap = ValueOfField(field);
      if (core::IsSafeName(bitmap)) MoveToTarget(ctx, t + bitmap, p + bitmap);
    }
  }

  // The fonts folder is looked for (and made) only for a panel that ships fonts.
  const bool hasFonts = !ctx.fs.listFiles(TempZipFolder(ctx), "*ttf").empty();
  std::vector<PlacementRule> rules = {
      {Test::WholeName, "panel.cfg", p},
      {Test::EndsWith, "gau", s.simFolder + "\\gauges\\"},
      {Test::EndsWith, "wav", s.simFolder + "\\sound\\"},
      {Test::EndsWith, "ttf", hasFonts ? FontsFolder(ctx) : std::nullopt},
  };
  if (package && s.optInstallDoc == 1) rules.push_back({Test::Anything, "", store + "Doc\\"});
  PlaceFiles(ctx, rules);

  if (core::FileExists(ctx, t + "panel.cfg")) core::step([&] { ctx.fs.deleteFile(t + "panel.cfg"); });

  if (!package) return;
  ++s.installedCount;
  s.catalogueStale = 1;
  if (s.optAddonName == 1 && AskAddonName(ctx, 3))
    core::WriteProfileString(ctx, p + "panel.cfg", "Hangarpak", "Name", s.archiveBaseName).orThrow();
}

}  // namespace install
