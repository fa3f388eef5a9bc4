#include "core/temp_folders.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"

namespace core {

namespace {

bool folderStays(Context& ctx, const std::string& folder) {
  bool stays = false;
  step([&] { stays = ctx.fs.folderExists(folder); });
  return stays;
}

// Removes what folder holds, then folder itself; adds to left the paths of
// what stays. A read-only file, which cannot be deleted as it is, loses its
// attribute and is deleted again.
void removeTree(Context& ctx, const std::string& folder, std::vector<std::string>& left) {
  std::vector<std::string> files, folders;
  if (!step([&] {
        files = ctx.fs.listFiles(folder);
        folders = ctx.fs.listFolders(folder);
      })) {
    left.push_back(folder);
    return;
  }
  for (const auto& name : files) {
    const std::string file = joinPath(folder, name);
    if (step([&] { ctx.fs.deleteFile(file); })) continue;
    step([&] { ctx.fs.setAttributes(file, attr::Archive); });
    if (!step([&] { ctx.fs.deleteFile(file); })) left.push_back(file);
  }
  for (const auto& name : folders) {
    const std::string sub = joinPath(folder, name);
    unsigned attributes = attr::Folder;
    step([&] { attributes = ctx.fs.attributes(sub); });
    if ((attributes & attr::Link) != 0) {
      if (!step([&] { ctx.fs.removeFolder(sub); })) left.push_back(sub);
      continue;
    }
    const std::size_t before = left.size();
    removeTree(ctx, sub, left);
    // A folder whose content stayed is named by that content.
    if (left.size() == before && folderStays(ctx, sub)) left.push_back(sub);
  }
  step([&] { ctx.fs.removeFolder(folder); });
}

// Empties and removes one temporary folder of the application folder.
std::vector<std::string> clearTempFolder(Context& ctx, std::string_view name) {
  const std::string folder = joinPath(ctx.appFolder(), name);
  std::vector<std::string> left;
  if (folderStays(ctx, folder)) removeTree(ctx, folder, left);
  return left;
}

}  // namespace

// What stays is cleared at the next start, or refuses the next install.
void ClearTempZip(Context& ctx) {
  clearTempFolder(ctx, "TempZip");
}

void ClearTempAdv(Context& ctx) {
  clearTempFolder(ctx, "TempAdv");
}

std::vector<std::string> EmptyTempZip(Context& ctx) {
  return clearTempFolder(ctx, "TempZip");
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
