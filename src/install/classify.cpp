#include "install/classify.h"

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

namespace {
using core::PackageKind;

PackageKind classifyAircraft(core::Context& ctx, const std::string& folder) {
  const auto airs = ctx.fs.listFiles(folder, "*.air");
  if (airs.empty()) return PackageKind::None;
  if (ctx.fs.fileSize(core::joinPath(folder, airs[0])) > kLargestModernAir) return PackageKind::Fs5Aircraft;
  if (airs.size() > 1) return PackageKind::MultiAircraft;
  if (!ctx.fs.listFiles(folder, "aircraft.cfg").empty()) return PackageKind::Aircraft;
  // One small .air without aircraft.cfg is no aircraft package: the rules
  // below decide.
  return PackageKind::None;
}
}  // namespace

void ClassifyPackage(core::Context& ctx) {
  const std::string folder = TempZipFolder(ctx);
  ctx.state.tempZipPath = folder + "\\";
  auto has = [&](const char* pattern) { return !ctx.fs.listFiles(folder, pattern).empty(); };

  PackageKind kind = classifyAircraft(ctx, folder);
  if (kind == PackageKind::None) {
    if (has("panel.cfg"))
      kind = PackageKind::Panel;
    else if (has("sound.cfg"))
      kind = PackageKind::Sound;
    else if (has("*.sif"))
      kind = PackageKind::Sif;
    else if (has("*.bgl"))
      kind = PackageKind::Scenery;
    else if (has("*.adv"))
      kind = PackageKind::Adventure;
  }
  ctx.state.packageKind = kind;
}

}  // namespace install
