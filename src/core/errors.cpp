#include "core/errors.h"

#include <cerrno>

namespace core {

RuntimeError::RuntimeError(int number, const std::string& description, int sysErrno)
    : std::runtime_error(description), number_(number), sysErrno_(sysErrno) {}

RuntimeError::RuntimeError(int number) : RuntimeError(number, describeError(number)) {}

std::string describeError(int number) {
  switch (number) {
    case err::InvalidProcedureCall:
      return "Invalid procedure call or argument";
    case err::Overflow:
      return "Overflow";
    case err::TypeMismatch:
      return "Type mismatch";
    case err::LibraryNotLoaded:
      return "Error in loading DLL";
    case err::BadFileName:
      return "Bad file name or number";
    case err::FileNotFound:
      return "File not found";
    case err::FileAlreadyExists:
      return "File already exists";
    case err::DiskFull:
      return "Disk full";
    case err::DeviceUnavailable:
      return "Device unavailable";
    case err::PermissionDenied:
      return "Permission denied";
    case err::PathFileAccess:
      return "Path/File access error";
    case err::PathNotFound:
      return "Path not found";
    default:
      return "Application-defined or object-defined error";
  }
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
