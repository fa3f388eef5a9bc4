#include "core/folder_entries.h"

#include <dirent.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace core {

bool readFolderEntries(int folderFd, const std::function<void(std::string_view name, unsigned char type)>& take) {
  alignas(dirent64) char buffer[32 * 1024];
  for (;;) {
    const ssize_t n = ::getdents64(folderFd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t at = 0; at < n;) {
      dirent64 entry;
      // The records are packed by their lengths; the header is copied out
      // rather than read in place.
      std::memcpy(&entry, buffer + at, offsetof(dirent64, d_name));
      const std::string_view name(buffer + at + offsetof(dirent64, d_name));
      at += entry.d_reclen;
      if (name != "." && name != "..") take(name, entry.d_type);
    }
  }
}

}  // namespace core
