#pragma once

#include <cstdint>
#include <string>

namespace core {
class Context;
}

namespace install {

// Free space that extraction always leaves on the file system of TempZip:
// an archive (or a hostile one that inflates without end) never fills the
// disk that the simulator and the user's other files live on.
inline constexpr std::uint64_t kExtractReserve = std::uint64_t{64} << 20;

enum class UnzipStatus {
  Done,        // every member that could be read is in TempZip
  OutOfSpace,  // stopped before the reserve would be touched
};

// Extracts one archive (a Windows path) flat into TempZip: every member under
// the last component of its name, overwriting a file of the same name in any
// case, never asking. Encrypted members get their password through the
// input box "Please Enter The Password!"; an empty answer or Cancel sets
// state.skipPasswords, and from then on every encrypted member of the run is
// skipped unasked. A member that cannot be read whole (wrong password, a
// failed CRC check, a damaged stream) leaves nothing behind. An archive that
// cannot be opened extracts nothing and is not reported. Throws
// RuntimeError 48 when the ZIP library itself cannot work.
UnzipStatus UnzipToTempZip(core::Context& ctx, const std::string& archivePath);

// Extracts the archive, then in five passes every file in TempZip whose name
// ends in "zip" (nested archives; each is deleted after its extraction), so
// that archives nested up to five levels deep end up as plain files. Returns
// false when extraction stopped for lack of disk space: the message "Not
// enough disk space to extract " + archivePath has been shown and the
// archive must count as not installed.
bool ExtractArchive(core::Context& ctx, const std::string& archivePath);

}  // namespace install
