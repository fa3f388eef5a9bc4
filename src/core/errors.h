#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

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

// Each run-time error number with the text Windows gives for it: the one
// table describeError reads. A number the program uses and this table lacks
// reads as the generic text.
struct ErrorText {
  int number;
  std::string_view text;
};
inline constexpr std::array<ErrorText, 13> kErrorTexts = {{
    {err::InvalidProcedureCall, "Invalid procedure call or argument"},
    {err::Overflow, "Overflow"},
    {err::OutOfMemory, "Out of memory"},
    {err::TypeMismatch, "Type mismatch"},
    {err::LibraryNotLoaded, "Error in loading DLL"},
    {err::BadFileName, "Bad file name or number"},
    {err::FileNotFound, "File not found"},
    {err::FileAlreadyExists, "File already exists"},
    {err::DiskFull, "Disk full"},
    {err::DeviceUnavailable, "Device unavailable"},
    {err::PermissionDenied, "Permission denied"},
    {err::PathFileAccess, "Path/File access error"},
    {err::PathNotFound, "Path not found"},
}};

// The program's run-time error: a number, a description, and the errno it
// came from (0 when none).
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description, int sysErrno = 0);
  explicit RuntimeError(int number);

  int number() const { return number_; }
  int sysErrno() const { return sysErrno_; }
  // The Windows path a failing write was making and the bytes it was to
  // hold (0: not known), where the file system names them.
  const std::string& target() const { return target_; }
  std::uint64_t bytes() const { return bytes_; }
  void setTarget(std::string path, std::uint64_t bytes) {
    target_ = std::move(path);
    bytes_ = bytes;
  }

 private:
  int number_;
  int sysErrno_;
  std::string target_;
  std::uint64_t bytes_ = 0;
};

// The text Windows gives for an error number ("File not found").
std::string describeError(int number);

// What a person reads about an error: its description and, when it came
// from the system, the cause in words ("...: no space left on device");
// never its number.
std::string inWords(const RuntimeError& error);

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
