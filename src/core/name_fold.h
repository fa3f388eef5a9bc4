#pragma once

#include <string>
#include <string_view>

namespace core {

// Host names compared the way the simulator's file system compares them:
// without regard to case, letters of its code page beyond ASCII included
// (Latin-1 and Latin Extended-A, which hold every letter of Windows-1252).
// A byte that starts no valid UTF-8 sequence stands for itself, so any name
// compares, encoded or not.
bool namesMatch(std::string_view a, std::string_view b);

// A key that two names share exactly when namesMatch says they match, for
// finding a name in a table of a folder's entries.
std::string foldedName(std::string_view name);
// The same key, written over key: a look-up that keeps one buffer for its
// keys makes none.
void foldName(std::string_view name, std::string& key);

}  // namespace core
