#include "install/extract.h"

#include <algorithm>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

namespace {
constexpr int kNestedPasses = 5;

// The archive's own size; 0 when it cannot be read (then nothing is
// extracted from it either).
std::uint64_t archiveSize(core::Context& ctx, const std::string& archivePath) {
  std::uint64_t size = 0;
  core::step([&] { size = ctx.fs.fileSize(archivePath); });
  return size;
}

// Shows why the archive is refused and keeps the reason for the run's
// summary; false for a refusal.
bool accepted(core::Context& ctx, const std::string& archivePath, const UnzipResult& result,
              const ExtractLimits& limits) {
  std::string reason;
  switch (result.status) {
    case UnzipStatus::Done:
      return true;
    case UnzipStatus::OutOfSpace:
      ctx.state.archiveRefusal = "there is not enough disk space to extract it";
      ctx.dialogs.msgBox("Not enough disk space to extract " + archivePath, "Installation aborted", core::Buttons::OK,
                         core::Icon::Critical);
      return false;
    case UnzipStatus::TooLarge:
      reason =
          "it unpacks to more than " + std::to_string(limits.bytesFor(archiveSize(ctx, archivePath)) >> 20) + " MB";
      break;
    case UnzipStatus::TooManyMembers:
      reason = "it holds more than " + std::to_string(limits.maxMembers) + " files";
      break;
    case UnzipStatus::Damaged:
      reason = "it is damaged: " + result.cause;
      break;
    case UnzipStatus::Unreadable:
      reason = result.cause;
      break;
    case UnzipStatus::WrongPassword:
      reason = "it is encrypted, and the password given does not open " + result.cause;
      break;
    // The person chose not to give a password: the run's summary says what
    // that left out, without a message for each archive.
    case UnzipStatus::NoPassword:
      ctx.state.archiveRefusal = "it is encrypted, and no password was given";
      return false;
    case UnzipStatus::PasswordSkipped:
      ctx.state.archiveRefusal =
          "it is encrypted, and after an empty password answer no password is asked for until the program ends";
      return false;
    case UnzipStatus::Overlapping:
      reason = "its files overlap one another (a damaged or hostile archive)";
      break;
  }
  ctx.state.archiveRefusal = reason;
  ctx.dialogs.msgBox(archivePath + "\r\n\r\nThe archive is not installed: " + reason + ".", "Installation aborted",
                     core::Buttons::OK, core::Icon::Critical);
  return false;
}
// The folder a nested archive's members lie in: the archive's own folder and
// its name without ".zip" (with it, where the rest would be no name).
std::string nestedFolder(const ArchiveMember* archive, const std::string& stored) {
  const std::string name = archive ? archive->name : stored;
  std::string own = core::lower(core::right(name, 4)) == ".zip" ? core::dropRight(name, 4) : name;
  if (!core::IsSafeName(own)) own = name;
  if (!archive || archive->folder.empty()) return own;
  return archive->folder + "\\" + own;
}
}  // namespace

std::uint64_t ExtractLimits::bytesFor(std::uint64_t archiveSize) const {
  std::uint64_t scaled;
  if (__builtin_mul_overflow(archiveSize, sizeFactor, &scaled)) scaled = UINT64_MAX;
  return std::max(minBytes, scaled);
}

std::optional<ArchiveMembers> ExtractArchive(core::Context& ctx, const std::string& archivePath,
                                             const ExtractLimits& limits) {
  ExtractBudget budget(limits, archiveSize(ctx, archivePath));
  ArchiveMembers members;
  if (!accepted(ctx, archivePath, UnzipToTempZip(ctx, archivePath, budget, members), limits)) return std::nullopt;
  const std::string folder = TempZipFolder(ctx);
  for (int pass = 1; pass <= kNestedPasses; ++pass) {
    // Archives that a pass extracts are seen by the next one; a sixth level
    // stays in TempZip as a file. Only the names that may be archives are
    // listed, and a pass that finds none ends the search.
    const auto names = ctx.fs.listFiles(folder, "*zip");
    if (names.empty()) break;
    for (const auto& name : names) {
      const std::string nested = core::joinPath(folder, name);
      const std::string inner = nestedFolder(members.byStored(name), name);
      UnzipResult result = UnzipToTempZip(ctx, nested, budget, members, inner);
      if (result.status == UnzipStatus::Unreadable) {
        // A member named like an archive that opens as none is damaged; one
        // whose name only ends in "zip" ("notes.gzip") was never one.
        const ArchiveMember* member = members.byStored(name);
        if (core::lower(core::right(name, 4)) == ".zip")
          result = {UnzipStatus::Damaged,
                    "the archive " + (member ? member->path() : name) + " in it does not open: " + result.cause};
        else
          result = {};
      }
      if (!accepted(ctx, archivePath, result, limits)) return std::nullopt;
      core::step([&] { ctx.fs.deleteFile(nested); });
      members.remove(name);
    }
  }
  return members;
}

}  // namespace install
