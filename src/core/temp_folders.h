#pragma once

#include <string>
#include <string_view>

namespace core {

class Context;

// Empties and removes application folder + "\TempZip" / "\TempAdv". Every
// step ignores failures: a locked file stays, and so does the folder.
void ClearTempZip(Context& ctx);
void ClearTempAdv(Context& ctx);

// The last component of path, without a trailing "\"; a name ending in
// ".zip" (any case) loses it and is lower-cased. Replaces the caller's
// variable with the result, as the program's callers rely on.
std::string GetBaseName(std::string& path);

// True when path names an existing plain file (hidden, system and read-only
// ones included; folders not). Empty paths and paths ending in "\\" are
// false; any failure is false.
bool FileExists(Context& ctx, std::string_view path);

}  // namespace core
