#include "install/archive_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace install {

namespace {

// Read ahead at once: room for the headers and data of a few hundred small
// members, and little beside the members unpacked ahead.
constexpr std::uint64_t kWindow = 256 * 1024;

struct WindowedFile {
  WindowedFile() { zip_error_init(&error); }
  WindowedFile(const WindowedFile&) = delete;
  WindowedFile& operator=(const WindowedFile&) = delete;
  int fd = -1;
  std::uint64_t size = 0;
  std::uint64_t position = 0;
  std::vector<char> window;  // the bytes from windowAt
  std::uint64_t windowAt = 0;
  zip_error_t error;

  ~WindowedFile() {
    zip_error_fini(&error);
    if (fd >= 0) ::close(fd);
  }

  // Up to length bytes from the position; -1 when the file cannot be read.
  zip_int64_t read(char* to, std::uint64_t length) {
    length = std::min(length, size - std::min(position, size));
    if (length == 0) return 0;
    if (position < windowAt || position - windowAt >= window.size()) {
      // A read as large as the window goes straight where it is wanted.
      if (length >= kWindow) {
        if (!readAt(position, to, static_cast<std::size_t>(length))) return -1;
        position += length;
        return static_cast<zip_int64_t>(length);
      }
      if (!fill()) return -1;
    }
    const std::uint64_t at = position - windowAt;
    const std::uint64_t taken = std::min<std::uint64_t>(length, window.size() - at);
    std::memcpy(to, window.data() + at, static_cast<std::size_t>(taken));
    position += taken;
    return static_cast<zip_int64_t>(taken);
  }

  // The window starts at the position and holds what the file has of
  // kWindow bytes from there.
  bool fill() {
    window.resize(static_cast<std::size_t>(std::min(kWindow, size - position)));
    if (!readAt(position, window.data(), window.size())) {
      window.clear();
      return false;
    }
    windowAt = position;
    return true;
  }

  // count bytes of the file from at into to; false, with the error set,
  // when the file cannot give them.
  bool readAt(std::uint64_t at, char* to, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::pread(fd, to + done, count - done, static_cast<off_t>(at + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        zip_error_set(&error, ZIP_ER_READ, n < 0 ? errno : EIO);
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }
};

zip_int64_t answer(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto& file = *static_cast<WindowedFile*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN:
      file.position = 0;
      return 0;
    case ZIP_SOURCE_READ:
      return file.read(static_cast<char*>(data), length);
    case ZIP_SOURCE_CLOSE:
      return 0;
    case ZIP_SOURCE_STAT: {
      auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &file.error);
      if (!st) return -1;
      zip_stat_init(st);
      st->size = file.size;
      st->valid |= ZIP_STAT_SIZE;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&file.error, data, length);
    case ZIP_SOURCE_FREE:
      delete &file;
      return 0;
    case ZIP_SOURCE_SEEK: {
      const zip_int64_t to = zip_source_seek_compute_offset(file.position, file.size, data, length, &file.error);
      if (to < 0) return -1;
      file.position = static_cast<std::uint64_t>(to);
      return 0;
    }
    case ZIP_SOURCE_TELL:
      return static_cast<zip_int64_t>(file.position);
    // An empty file is no archive, as the library's file source says.
    case ZIP_SOURCE_ACCEPT_EMPTY:
      return 0;
    case ZIP_SOURCE_SUPPORTS: {
      zip_int64_t supported = 0;
      for (const zip_source_cmd_t each :
           {ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
            ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_ACCEPT_EMPTY, ZIP_SOURCE_SUPPORTS})
        supported |= ZIP_SOURCE_MAKE_COMMAND_BITMASK(each);
      return supported;
    }
    default:
      zip_error_set(&file.error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

}  // namespace

zip_source_t* OpenArchiveSource(const std::string& hostPath, zip_error_t& error) {
  auto file = std::make_unique<WindowedFile>();
  file->fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file->fd < 0) {
    zip_error_set(&error, errno == ENOENT ? ZIP_ER_NOENT : ZIP_ER_OPEN, errno);
    return nullptr;
  }
  struct stat st;
  if (::fstat(file->fd, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  file->size = static_cast<std::uint64_t>(st.st_size);
  zip_source_t* source = zip_source_function_create(answer, file.get(), &error);
  // The source owns the file from now on, and frees it with itself.
  if (source) file.release();
  return source;
}

}  // namespace install
