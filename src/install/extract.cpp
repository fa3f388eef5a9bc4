#include "install/extract.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

namespace {
constexpr int kNestedPasses = 5;

void reportOutOfSpace(core::Context& ctx, const std::string& archivePath) {
  ctx.dialogs.msgBox("Not enough disk space to extract " + archivePath, "Installation aborted", core::Buttons::OK,
                     core::Icon::Critical);
}
}  // namespace

bool ExtractArchive(core::Context& ctx, const std::string& archivePath) {
  if (UnzipToTempZip(ctx, archivePath) == UnzipStatus::OutOfSpace) {
    reportOutOfSpace(ctx, archivePath);
    return false;
  }
  const std::string folder = TempZipFolder(ctx);
  for (int pass = 1; pass <= kNestedPasses; ++pass) {
    // Archives that a pass extracts are seen by the next one; a sixth level
    // stays in TempZip as a file.
    const auto names = ctx.fs.listFiles(folder);
    for (const auto& name : names) {
      if (core::lower(core::right(name, 3)) != "zip") continue;
      const std::string nested = core::joinPath(folder, name);
      if (UnzipToTempZip(ctx, nested) == UnzipStatus::OutOfSpace) {
        reportOutOfSpace(ctx, archivePath);
        return false;
      }
      core::step([&] { ctx.fs.deleteFile(nested); });
    }
  }
  return true;
}

}  // namespace install
