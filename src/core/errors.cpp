#include "core/errors.h"

#include <cctype>
#include <cerrno>
#include <system_error>

namespace core {

RuntimeError::RuntimeError(int number, const std::string& description, int sysErrno)
    : std::runtime_error(description), number_(number), sysErrno_(sysErrno) {}

RuntimeError::RuntimeError(int number) : RuntimeError(number, describeError(number)) {}

std::string describeError(int number) {
  for (const auto& [n, text] : kErrorTexts)
    if (n == number) return std::string(text);
  return "Application-defined or object-defined error";
}

std::string inWords(const RuntimeError& error) {
  std::string text = error.what();
  if (error.sysErrno() == 0) return text;
  std::string cause = std::generic_category().message(error.sysErrno());
  if (!cause.empty()) cause[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(cause[0])));
  return text + ": " + cause;
}

int errorNumberFromErrno(int sysErrno) {
  switch (sysErrno) {
    case ENOENT:
      return err::FileNotFound;
    case ENOTDIR:
      return err::PathNotFound;
    case EEXIST:
    case ENOTEMPTY:
    case EISDIR:
    case EBUSY:
      return err::PathFileAccess;
    case EACCES:
    case EPERM:
    case EROFS:
      return err::PermissionDenied;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return err::BadFileName;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::DiskFull;
    case ENXIO:
    case ENODEV:
      return err::DeviceUnavailable;
    default:
      return err::PathFileAccess;
  }
}

}  // namespace core
