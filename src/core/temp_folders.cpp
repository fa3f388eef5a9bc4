#include "core/temp_folders.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"

namespace core {

namespace {

// Empties and removes one temporary folder of the application folder. Each
// step, and each file within a step, goes on past a failure: whatever cannot
// be removed stays, and then so does the folder.
void clearTempFolder(Context& ctx, std::string_view name) {
  const std::string folder = joinPath(ctx.appFolder(), name);
  std::vector<std::string> files;
  step([&] { files = ctx.fs.listFiles(folder, "*", true); });
  // Read-only files could not be deleted otherwise.
  for (const auto& file : files) step([&] { ctx.fs.setAttributes(joinPath(folder, file), attr::Archive); });
  files.clear();
  step([&] { files = ctx.fs.listFiles(folder, "*.*", true); });
  for (const auto& file : files) step([&] { ctx.fs.deleteFile(joinPath(folder, file)); });
  step([&] { ctx.fs.removeFolder(folder); });
}

}  // namespace

void ClearTempZip(Context& ctx) {
  clearTempFolder(ctx, "TempZip");
}

void ClearTempAdv(Context& ctx) {
  clearTempFolder(ctx, "TempAdv");
}

std::string GetBaseName(std::string& path) {
  std::string p = path;
  if (!p.empty() && p.back() == '\\') p.pop_back();
  if (auto slash = p.rfind('\\'); slash != std::string::npos) p.erase(0, slash + 1);
  if (lower(right(p, 4)) == ".zip") p = lower(dropRight(p, 4));
  path = p;
  return p;
}

bool FileExists(Context& ctx, std::string_view path) {
  if (path.empty() || right(path, 2) == "\\\\") return false;
  // A path ending in "\" names a folder, and a wildcard names no one file.
  if (path.back() == '\\' || path.back() == '/') return false;
  if (lastComponent(path).find_first_of("*?") != std::string::npos) return false;
  try {
    return ctx.fs.fileExists(path);
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace core
