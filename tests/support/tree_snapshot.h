#pragma once

#include <map>
#include <string>

namespace testsupport {

// Everything below a host folder, by path relative to it: a file maps to
// its bytes, a folder to "<folder>", a symbolic link to "<link> " + target.
// Symbolic links are not followed.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotTree(const std::string& root);

// The entries that differ between two snapshots (added, removed or
// changed), one per line, for a readable failure message.
std::string treeDifferences(const TreeSnapshot& before, const TreeSnapshot& after);

}  // namespace testsupport
