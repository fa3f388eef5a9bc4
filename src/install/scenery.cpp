#include "install/scenery.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/temp_folders.h"
#include "core/wine_prefix.h"

namespace install {

namespace {

// The scenery installer keeps its settings under its own application name;
// it reads the package to install from "QX Start" when it starts.
constexpr const char* kInstallerApp = "Ortholay";
constexpr const char* kInstallerSection = "General";
constexpr const char* kAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ortholay.exe";
// Where a Windows build of the installer keeps the same settings: Visual
// Basic's own store in the current user's registry.
constexpr const char* kPrefixSettingsKey = "Software\\VB and VBA Program Settings\\Ortholay\\General";

// The installer's folder as the simulator's prefix records it ("App Path"
// of the prefix's own settings), in the program's own drive table.
std::string prefixAppPath(core::Context& ctx) {
  core::PrefixRegistry* registry = ctx.winePrefixes ? ctx.winePrefixes->simulatorRegistry() : nullptr;
  if (!registry) return {};
  auto path = registry->userValue(kPrefixSettingsKey, "App Path");
  return path && !path->empty() ? core::PathFromPrefix(ctx, *path) : std::string();
}

std::string findInstaller(core::Context& ctx) {
  std::string program = ctx.settings.get(kInstallerApp, kInstallerSection, "App Path", "") + "Ortholay.exe";
  if (!core::FileExists(ctx, program)) program = prefixAppPath(ctx) + "Ortholay.exe";
  if (!core::FileExists(ctx, program)) program = core::ReadReg(ctx, "LM", kAppPathKey, "");
  if (!core::FileExists(ctx, program)) return {};
  return program;
}

// A Windows installer reads "QX Start" from its prefix's registry. Wine's
// own reg tool writes it, so that a wineserver already running sees the
// value; the program never edits a prefix's files itself.
void writeQxStart(core::Context& ctx, const std::string& program, const std::string& package) {
  const bool inPrefix = ctx.winePrefixes && ctx.winePrefixes->simulator() && core::IsWindowsProgram(ctx, program);
  if (!inPrefix) {
    ctx.settings.save(kInstallerApp, kInstallerSection, "QX Start", package);
    return;
  }
  const core::ProcessRequest request =
      core::WineRequest(ctx, {"reg", "add", std::string("HKCU\\") + kPrefixSettingsKey, "/v", "QX Start", "/t",
                              "REG_SZ", "/d", core::PathInPrefix(ctx, package), "/f"});
  if (ctx.processes.runAndWait(request, [&ctx] { ctx.dialogs.keepPainting(); }) != 0)
    throw core::RuntimeError(core::err::PathFileAccess, "wine reg could not write QX Start");
}

void handOver(core::Context& ctx, const std::string& program, const std::string& package) {
  writeQxStart(ctx, program, package);
  // Quoted: the usual home of the installer has blanks in its path, and a
  // shorter path up to a blank must not be taken for the program.
  core::ShellAndWait(ctx, "\"" + program + "\"");
  ctx.state.installedCount += 1;
}

}  // namespace

std::string SceneryHelpPage(const core::Context& ctx) {
  return ctx.locations.shareFolder + "/hangarpak/help/online.html";
}

void RunSceneryInstaller(core::Context& ctx, const std::string& path) {
  const std::string program = findInstaller(ctx);
  if (program.empty()) {
    ctx.dialogs.msgBox(std::string("Hangarpak could not find Ortholay in your system!\r\n\r\n") +
                           "How to get Ortholay and install it under Wine is told on this page:\r\n" +
                           SceneryHelpPage(ctx),
                       "Could not find Ortholay", core::Buttons::OK, core::Icon::Exclamation);
    ctx.state.archiveRefusal = "the scenery installer Ortholay was not found";
    return;
  }
  if (!path.empty()) {
    // A package picked directly stays where it is.
    handOver(ctx, program, path);
    return;
  }
  const std::string tempZip = ctx.appFolder() + "\\TempZip";
  for (const auto& name : ctx.fs.listFiles(tempZip, "*.sif")) handOver(ctx, program, tempZip + "\\" + name);
}

}  // namespace install
