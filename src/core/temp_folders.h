#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

class Context;

// Empties and removes application folder + "\TempZip" / "\TempAdv": every
// file and sub-folder, whatever its name, by the name a listing of its folder
// gives (a name like "*b" is no pattern here); a linked sub-folder is removed
// as the link and never followed. Every step goes on past a failure: what
// cannot be removed stays, and so does the folder.
void ClearTempZip(Context& ctx);
void ClearTempAdv(Context& ctx);
// ClearTempZip, saying what stayed: the paths of the files and folders in
// TempZip that could not be removed (a folder that cannot be listed stands
// for what it holds). Empty when TempZip is empty or gone.
[[nodiscard]] std::vector<std::string> EmptyTempZip(Context& ctx);

// The last component of path, without a trailing "\"; a name ending in
// ".zip" (any case) loses it and is lower-cased. Replaces the caller's
// variable with the result, as the program's callers rely on.
std::string GetBaseName(std::string& path);

// True when path names an existing plain file (hidden, system and read-only
// ones included; folders not). Empty paths and paths ending in "\\" are
// false; any failure is false.
bool FileExists(Context& ctx, std::string_view path);

}  // namespace core
