#include "install/fs5.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/profile.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

void ConvertFs5Aircraft(core::Context& ctx) {
  auto& s = ctx.state;
  auto& windows = ctx.windows();
  windows.hideProgress();
  if (s.simVersion == core::simver::FS2002) {
    ctx.dialogs.msgBox("Hangarpak v3.2 does not support FS5.x aicraft installation for FS2002!",
                       "Cannot install FS5.x aircraft", core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  ctx.dialogs.msgBox(
      "The aircraft is made for FS5.x. Please use Flight Shop Converter\nto convert the aircraft for "
      "FS98\\FS2000.\n\nThe AIR file is located: " +
          TempZipFolder(ctx),
      "Hangarpak found FS5.x aircraft", core::Buttons::OK, core::Icon::Exclamation);

  const bool fs98 = s.simVersion == core::simver::FS98;
  const std::string converter = s.simFolder + (fs98 ? "\\aafconv98.exe" : "\\aafconv.exe");
  const std::string config = s.simFolder + (fs98 ? "\\aafconv98.cfg" : "\\aafconv.cfg");
  if (!core::FileExists(ctx, converter)) {
    ctx.dialogs.msgBox("Could not find Flight Shop Converter!", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
    return;
  }
  core::WriteProfileString(ctx, config, "Options", "AircraftInputPath", TempZipPrefix(ctx));
  // Quoted, so a simulator folder with blanks names one program.
  core::ShellAndWait(ctx, "\"" + converter + "\"");

  const auto airs = ctx.fs.listFiles(TempZipFolder(ctx), "*.air");
  if (!airs.empty()) {
    const std::string name = core::dropRight(airs[0], 4);
    if (core::FileExists(ctx, s.simFolder + "\\aircraft\\" + name + "\\" + name + ".air")) ++s.installedCount;
  }
  windows.repaintMainWindow();
  s.catalogueStale = 1;
}

}  // namespace install
