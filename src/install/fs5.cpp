#include "install/fs5.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/converter.h"
#include "install/temp_zip.h"

namespace install {

void ConvertFs5Aircraft(core::Context& ctx) {
  auto& s = ctx.state;
  auto& windows = ctx.windows();
  windows.hideProgress();
  if (s.simVersion == core::simver::FS2002) {
    ctx.dialogs.msgBox("Hangarpak v3.2 does not support FS5.x aicraft installation for FS2002!",
                       "Cannot install FS5.x aircraft", core::Buttons::OK, core::Icon::Exclamation);
    s.archiveRefusal = "FS5 aircraft cannot be installed for FS2002";
    return;
  }
  ctx.dialogs.msgBox(
      "The aircraft is made for FS5.x. Please use Flight Shop Converter\nto convert the aircraft for "
      "FS98\\FS2000.\n\nThe AIR file is located: " +
          TempZipFolder(ctx),
      "Hangarpak found FS5.x aircraft", core::Buttons::OK, core::Icon::Exclamation);

  const Converter converter = converterFor(s);
  if (!converterPresent(ctx, converter)) {
    ctx.dialogs.msgBox("Could not find Flight Shop Converter!", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
    s.archiveRefusal = "the Flight Shop converter was not found";
    return;
  }
  core::WriteProfileString(ctx, converter.config, kConverterSection, "AircraftInputPath",
                           PathForConverter(ctx, converter, TempZipPrefix(ctx)))
      .orThrow();
  runConverter(ctx, converter);

  const auto airs = ctx.fs.listFiles(TempZipFolder(ctx), "*.air");
  if (!airs.empty()) {
    const std::string name = core::dropRight(airs[0], 4);
    if (core::FileExists(ctx, s.simFolder + "\\aircraft\\" + name + "\\" + name + ".air")) ++s.installedCount;
  }
  s.archiveRefusal = "the Flight Shop converter made no aircraft of it";
  windows.repaintMainWindow();
  s.catalogueStale = true;
}

}  // namespace install
