#include "install/install_folders.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"

namespace install {

namespace {
void makeFolder(core::Context& ctx, const std::string& path) {
  core::step([&] { ctx.fs.makeFolder(path); });
}
}  // namespace

void CreateInstallFolders(core::Context& ctx) {
  const auto& s = ctx.state;
  const std::string& sim = s.simFolder;
  makeFolder(ctx, sim + "\\Adv");
  makeFolder(ctx, sim + "\\Adv\\Wav");
  if (s.simVersion == core::simver::FS2000 || s.simVersion == core::simver::FS2002)
    makeFolder(ctx, sim + "\\Adv\\Other");
  for (const char* sub : {"\\Aircraft", "\\Aircraft\\FSFSConv", "\\Fonts", "\\Gauges", "\\Sound", "\\Texture"})
    makeFolder(ctx, sim + sub);

  const std::string& f = s.installFolderName;
  const bool doc = core::isOn(s.optInstallDoc);
  switch (s.packageKind) {
    case core::PackageKind::Aircraft: {
      const std::string a = sim + "\\aircraft\\" + f;
      makeFolder(ctx, a);
      for (const char* sub : {"\\Model", "\\Panel", "\\Sound", "\\Texture"}) makeFolder(ctx, a + sub);
      if (doc) makeFolder(ctx, a + "\\Doc");
      break;
    }
    case core::PackageKind::Panel:
    case core::PackageKind::Sound: {
      const char* prefix =
          s.packageKind == core::PackageKind::Panel ? "\\aircraft\\FSFSConv\\panel." : "\\aircraft\\FSFSConv\\sound.";
      const std::string store = sim + prefix + f;
      makeFolder(ctx, store);
      if (doc) makeFolder(ctx, store + "\\Doc");
      break;
    }
    default:
      break;
  }
}

bool MoveToTarget(core::Context& ctx, const std::string& source, const std::string& target, bool link) {
  if (link) return core::step([&] { ctx.fs.moveFile(source, target); });
  if (!core::step([&] { ctx.fs.copyFile(source, target); })) return false;
  core::step([&] { ctx.fs.deleteFile(source); });
  return true;
}

}  // namespace install
