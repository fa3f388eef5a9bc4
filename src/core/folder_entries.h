#pragma once

#include <functional>
#include <string_view>

namespace core {

// Reads the entries of an open folder (a descriptor opened with
// O_DIRECTORY) as the kernel lists them, "." and ".." left out, and hands
// each name with the type the listing gives (DT_REG, DT_DIR, DT_LNK,
// DT_UNKNOWN, ...). The names are read into a buffer on the stack: listing
// thousands of folders allocates nothing per folder and asks no folder's
// status, as a directory stream of the C library does. False, with errno
// set, when a read fails; the entries handed until then were listed.
[[nodiscard]] bool readFolderEntries(int folderFd,
                                     const std::function<void(std::string_view name, unsigned char type)>& take);

}  // namespace core
