#include "install/failure_words.h"

#include <cerrno>
#include <cstdio>

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/paths.h"
#include "core/text.h"

namespace install {

std::string SizeInWords(std::uint64_t bytes) {
  constexpr const char* kUnits[] = {"bytes", "KB", "MB", "GB", "TB"};
  double size = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (size >= 1024 && unit + 1 < std::size(kUnits)) {
    size /= 1024;
    ++unit;
  }
  char text[32];
  if (unit == 0 || size >= 10)
    std::snprintf(text, sizeof text, "%.0f %s", size, kUnits[unit]);
  else
    std::snprintf(text, sizeof text, "%.1f %s", size, kUnits[unit]);
  return text;
}

namespace {

// "drive C: (/home/user/.wine/drive_c)", or the drive letter alone.
std::string driveOf(core::Context& ctx, const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return "the disk";
  const std::string drive = core::upper(path.substr(0, 2));
  const auto root = ctx.drives.hostRoot(path[0]);
  return "drive " + drive + (root ? " (" + *root + ")" : "");
}

std::string folderOf(const std::string& path) {
  const auto end = path.find_last_of('\\');
  return end == std::string::npos ? path : path.substr(0, end);
}

bool cannotWrite(const core::RuntimeError& e) {
  const int n = e.sysErrno();
  return e.number() == core::err::PermissionDenied || n == EACCES || n == EPERM || n == EROFS;
}

}  // namespace

std::string FailureInWords(core::Context& ctx, const core::RuntimeError& error) {
  const std::string& path = error.target();
  if (error.number() == core::err::DiskFull && !path.empty()) {
    std::string text = "There is not enough free space on " + driveOf(ctx, path) + " for " + path;
    if (error.bytes() > 0) text += " (" + SizeInWords(error.bytes()) + ")";
    std::uint64_t free = 0;
    if (core::step([&] { free = ctx.fs.freeSpace(path); })) text += "; " + SizeInWords(free) + " are free";
    return text + ". Make room on the disk and install the archive again.";
  }
  if (cannotWrite(error) && !path.empty()) {
    const std::string cause =
        error.sysErrno() == EROFS ? "it is on a read-only disk" : "it is read-only or you may not write there";
    return "The folder " + folderOf(path) + " cannot be written: " + cause + " (" + core::inWords(error) + ").";
  }
  return core::inWords(error) + ".";
}

}  // namespace install
