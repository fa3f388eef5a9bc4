#include "install/fonts_folder.h"

#include <vector>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace install {

namespace {
// Makes the folder and every missing folder above it.
bool makeFolders(core::Context& ctx, const std::string& folder) {
  std::vector<std::string> missing;
  std::string path = folder;
  while (!path.empty() && !ctx.fs.folderExists(path)) {
    missing.push_back(path);
    const std::string parent = core::parentPath(path);
    if (parent.size() < 2 || parent == path) break;
    path = parent;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) core::step([&] { ctx.fs.makeFolder(*it); });
  return ctx.fs.folderExists(folder);
}
}  // namespace

std::optional<std::string> FontsFolder(core::Context& ctx) {
  std::string folder;
  if (ctx.winePrefixes && ctx.winePrefixes->simulator()) {
    // The simulator's prefix, through whichever drive holds it.
    folder = core::PathFromPrefix(ctx, "C:\\windows\\Fonts");
  } else {
    bool wine = false;
    core::step([&] { wine = ctx.drives.available('c') && ctx.fs.folderExists("C:\\windows"); });
    if (wine) {
      folder = "C:\\windows\\Fonts";
    } else {
      auto win = ctx.drives.toWindows(ctx.locations.dataHome + "/fonts");
      if (!win) return std::nullopt;
      folder = *win;
    }
  }
  bool ok = false;
  core::step([&] { ok = makeFolders(ctx, folder); });
  if (!ok) return std::nullopt;
  return folder + "\\";
}

}  // namespace install
