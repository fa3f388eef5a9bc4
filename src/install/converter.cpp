#include "install/converter.h"

#include "core/app_state.h"
#include "core/context.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace install {

Converter converterFor(const core::AppState& state) {
  const bool fs98 = state.simVersion == core::simver::FS98;
  Converter c;
  c.fileName = fs98 ? "aafconv98.exe" : "aafconv.exe";
  c.program = core::joinPath(state.simFolder, c.fileName);
  c.config = core::joinPath(state.simFolder, fs98 ? "aafconv98.cfg" : "aafconv.cfg");
  return c;
}

bool converterPresent(core::Context& ctx, const Converter& converter) {
  // A listing of the simulator folder rather than a look at the path: the
  // name found must be the converter's own, whatever its case on disk.
  for (const auto& name : ctx.fs.listFiles(ctx.state.simFolder, converter.fileName))
    if (core::iequals(name, converter.fileName)) return true;
  return false;
}

std::string PathForConverter(core::Context& ctx, const Converter& converter, const std::string& folder) {
  return core::IsWindowsProgram(ctx, converter.program) ? core::PathInPrefix(ctx, folder) : folder;
}

void runConverter(core::Context& ctx, const Converter& converter) {
  // Quoted, so that a simulator folder with blanks cannot be read as a
  // shorter program path followed by arguments.
  core::ShellAndWait(ctx, "\"" + converter.program + "\"");
}

}  // namespace install
