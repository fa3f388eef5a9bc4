#include "install/temp_zip.h"

#include "core/context.h"

namespace install {

std::string TempZipFolder(core::Context& ctx) {
  return ctx.appFolder() + "\\TempZip";
}

std::string TempZipPrefix(core::Context& ctx) {
  return TempZipFolder(ctx) + "\\";
}

}  // namespace install
