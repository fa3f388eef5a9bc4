#include "support/tree_snapshot.h"

#include <filesystem>

#include "support/sim_fixture.h"

namespace testsupport {

namespace fsys = std::filesystem;

TreeSnapshot snapshotTree(const std::string& root) {
  TreeSnapshot out;
  std::error_code ec;
  if (!fsys::exists(root, ec)) return out;
  for (auto it = fsys::recursive_directory_iterator(root, ec); !ec && it != fsys::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string rel = fsys::relative(it->path(), root).generic_string();
    const auto status = it->symlink_status();
    if (fsys::is_symlink(status))
      out[rel] = "<link> " + fsys::read_symlink(it->path()).string();
    else if (fsys::is_directory(status))
      out[rel] = "<folder>";
    else
      out[rel] = readHostFile(it->path().string());
  }
  return out;
}

std::string treeDifferences(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::string out;
  for (const auto& [path, bytes] : after) {
    auto it = before.find(path);
    if (it == before.end())
      out += "added " + path + "\n";
    else if (it->second != bytes)
      out += "changed " + path + "\n";
  }
  for (const auto& [path, bytes] : before)
    if (!after.count(path)) out += "removed " + path + "\n";
  return out;
}

}  // namespace testsupport
