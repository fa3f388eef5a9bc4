#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "install/archive_members.h"

namespace core {
class Context;
}

namespace install {

// Free space that extraction always leaves on the file system of TempZip:
// an archive (or a hostile one that inflates without end) never fills the
// disk that the simulator and the user's other files live on.
inline constexpr std::uint64_t kExtractReserve = std::uint64_t{64} << 20;

// What extracting one archive, the archives nested in it included, may
// cost. Real add-ons stay far below these; bombs go far above.
struct ExtractLimits {
  // Bytes written in all: the larger of minBytes and sizeFactor times the
  // archive's own size.
  std::uint64_t minBytes = std::uint64_t{256} << 20;
  std::uint64_t sizeFactor = 50;
  // Members written in all, and members any one archive may hold.
  std::uint64_t maxMembers = 100000;
  std::uint64_t reserve = kExtractReserve;

  std::uint64_t bytesFor(std::uint64_t archiveSize) const;
};

// What is left of the limits while one archive is extracted. The counts
// are of bytes and files really written, whatever the headers claim.
struct ExtractBudget {
  ExtractBudget(const ExtractLimits& given, std::uint64_t archiveSize)
      : bytesLeft(given.bytesFor(archiveSize)), membersLeft(given.maxMembers), limits(given) {}
  std::uint64_t bytesLeft;
  std::uint64_t membersLeft;
  const ExtractLimits& limits;
};

enum class UnzipStatus {
  Done,             // every member that could be read is in TempZip
  OutOfSpace,       // stopped before the reserve would be touched
  TooLarge,         // stopped before the byte bound would be passed
  TooManyMembers,   // the archive, or all of them together, hold too many members
  Overlapping,      // members share their data: refused before anything was written
  Damaged,          // a member cannot be read whole (its data, its check sum, its size); it is left out
  Unreadable,       // the file does not open as a ZIP archive: damaged, cut short, or none at all
  WrongPassword,    // an encrypted member does not open with the password given
  NoPassword,       // an encrypted member, and the password was answered empty or cancelled
  PasswordSkipped,  // an encrypted member after such an answer earlier in the run: not asked again
};

// How an extraction ended, and for a damaged or unreadable archive what is
// wrong in words, for a wrongly opened one the member the password does not
// open.
struct UnzipResult {
  UnzipStatus status = UnzipStatus::Done;
  std::string cause;
};

// Extracts one archive (a Windows path) flat into TempZip: every member
// under the last component of its name, numbered ("readme (2).txt") where an
// earlier member of the table took that name in any case, never asking; a
// file of the same name that TempZip held before is overwritten. Each
// member written is added to the table, in folder memberFolder (the folder
// of a nested archive's members) and below it the folders its stored name
// gives, and told to the context's journal. Encrypted members get their
// password through the input box "Please Enter The Password!", asked at the
// first encrypted member and again at a later one the answer does not open;
// an answer that does not open the member it was asked for stops the
// extraction (WrongPassword). An
// empty answer or Cancel sets state.skipPasswords and stops it
// (NoPassword); from then on an encrypted member stops the extraction of
// its archive unasked (PasswordSkipped). A member that cannot be read
// whole (a failed check sum, a damaged stream, data that passes or falls
// short of the size it declares, a method the library cannot unpack)
// leaves nothing behind and stops the extraction as Damaged; an archive
// that cannot be opened at all extracts nothing (Unreadable). Throws
// RuntimeError 48 when the ZIP library itself cannot work. Stops, leaving
// what it wrote, when a limit of the budget is reached.
UnzipResult UnzipToTempZip(core::Context& ctx, const std::string& archivePath, ExtractBudget& budget,
                           ArchiveMembers& members, const std::string& memberFolder = {});

// Extracts the archive, then in five passes every file in TempZip whose name
// ends in "zip" (nested archives; each is deleted after its extraction, its
// members lying in a folder named after it without ".zip"), so that
// archives nested up to five levels deep end up as plain files. Returns the
// members in TempZip with their folders, or nullopt when the archive is
// refused: extraction stopped for lack of disk space ("Not enough disk space
// to extract " + archivePath), at a limit, at a damaged member or nested
// archive, or at a password (archivePath + a line saying which and why).
// The message has been shown (none for a password not given: the person
// chose), state.archiveRefusal says why, and the archive must count as not
// installed.
std::optional<ArchiveMembers> ExtractArchive(core::Context& ctx, const std::string& archivePath,
                                             const ExtractLimits& limits = {});

}  // namespace install
