#pragma once

#include <stdexcept>
#include <string>

namespace core {

// Run-time error numbers, as the program's messages show them
// ("Install error 53", "ReadReg error 5"). Tests assert the number, never the
// wording. Only core/fs maps errno to these.
namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;           // a stored number too large for its type
inline constexpr int OutOfMemory = 7;        // the program ran out of memory
inline constexpr int TypeMismatch = 13;      // a stored option that is not a number
inline constexpr int LibraryNotLoaded = 48;  // ZIP library unusable
inline constexpr int BadFileName = 52;       // a name the file system cannot hold
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceUnavailable = 68;  // drive not in the drive table, or its folder missing
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;  // e.g. a folder that exists already, or is not empty
inline constexpr int PathNotFound = 76;
}  // namespace err

// The program's run-time error: a number, a description, and the errno it
// came from (0 when none).
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description, int sysErrno = 0);
  explicit RuntimeError(int number);

  int number() const { return number_; }
  int sysErrno() const { return sysErrno_; }

 private:
  int number_;
  int sysErrno_;
};

// The text Windows gives for an error number ("File not found").
std::string describeError(int number);

// Maps an errno of a failed file operation to a run-time error number.
int errorNumberFromErrno(int sysErrno);

// Thrown where the program ends the process; main() catches it and exits.
struct EndProgram {
  int exitCode = 0;
};

// Runs one step of a procedure that goes on past failures ("resume next").
// Returns whether the step completed. EndProgram passes through.
template <class F>
bool step(F&& f) {
  try {
    f();
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace core
