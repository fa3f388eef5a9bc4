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
  ExtractBudget(const ExtractLimits& limits, std::uint64_t archiveSize)
      : bytesLeft(limits.bytesFor(archiveSize)), membersLeft(limits.maxMembers), limits(limits) {}
  std::uint64_t bytesLeft;
  std::uint64_t membersLeft;
  const ExtractLimits& limits;
};

enum class UnzipStatus {
  Done,            // every member that could be read is in TempZip
  OutOfSpace,      // stopped before the reserve would be touched
  TooLarge,        // stopped before the byte bound would be passed
  TooManyMembers,  // the archive, or all of them together, hold too many members
  Overlapping,     // members share their data: refused before anything was written
  Damaged,         // a member's data does not come to the size it declares; that member is left out
};

// Extracts one archive (a Windows path) flat into TempZip: every member
// under the last component of its name, numbered ("readme (2).txt") where an
// earlier member of the table took that name in any case, never asking; a
// file of the same name that TempZip held before is overwritten. Each
// member written is added to the table, in folder memberFolder (the folder
// of a nested archive's members) and below it the folders its stored name
// gives, and told to the context's journal. Encrypted members get their
// password through the input box "Please Enter The Password!"; an empty
// answer or Cancel sets state.skipPasswords, and from then on every
// encrypted member of the run is skipped unasked. A member that cannot be
// read whole (wrong password, a failed CRC check, a damaged stream) leaves
// nothing behind, and neither does one whose data passes or falls short of
// the size it declares, which also stops the extraction as Damaged. An
// archive that cannot be opened extracts nothing and is not reported.
// Throws RuntimeError 48 when the ZIP library itself cannot work.
// Stops, leaving what it wrote, when a limit of the budget is reached.
UnzipStatus UnzipToTempZip(core::Context& ctx, const std::string& archivePath, ExtractBudget& budget,
                           ArchiveMembers& members, const std::string& memberFolder = {});

// Extracts the archive, then in five passes every file in TempZip whose name
// ends in "zip" (nested archives; each is deleted after its extraction, its
// members lying in a folder named after it without ".zip"), so that
// archives nested up to five levels deep end up as plain files. Returns the
// members in TempZip with their folders, or nullopt when the archive is
// refused: extraction stopped for lack of disk space ("Not enough disk space
// to extract " + archivePath), at a limit or at a damaged member
// (archivePath + a line saying which); the message has been shown, and the
// archive must count as not installed.
std::optional<ArchiveMembers> ExtractArchive(core::Context& ctx, const std::string& archivePath,
                                             const ExtractLimits& limits = {});

}  // namespace install
