#pragma once

#include <string>
#include <string_view>

namespace core {

// Replaces a host file with new content so that a crash or a full disk
// leaves either the old file or the new one, never a mix: write a temporary
// file in the same folder, flush and sync it, then rename it over the old one
// (rename is atomic within one file system; deleting first would open a
// window with no file at all). An existing file's permissions are kept.
// Throws RuntimeError on failure, with the old file untouched.
void writeFileAtomically(const std::string& hostPath, std::string_view bytes);

// The host file's bytes; throws RuntimeError (53 for a missing file).
std::string readHostFile(const std::string& hostPath);

// Makes a host folder and its parents (like mkdir -p); no error when it exists.
void makeHostFolders(const std::string& hostPath);

}  // namespace core
