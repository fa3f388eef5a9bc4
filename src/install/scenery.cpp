#include "install/scenery.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/temp_folders.h"

namespace install {

namespace {

// The scenery installer keeps its settings under its own application name;
// it reads the package to install from "QX Start" when it starts.
constexpr const char* kInstallerApp = "Ortholay";
constexpr const char* kInstallerSection = "General";
constexpr const char* kAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Ortholay.exe";

std::string findInstaller(core::Context& ctx) {
  std::string program = ctx.settings.get(kInstallerApp, kInstallerSection, "App Path", "") + "Ortholay.exe";
  if (!core::FileExists(ctx, program)) program = core::ReadReg(ctx, "LM", kAppPathKey, "");
  if (!core::FileExists(ctx, program)) return {};
  return program;
}

void handOver(core::Context& ctx, const std::string& program, const std::string& package) {
  ctx.settings.save(kInstallerApp, kInstallerSection, "QX Start", package);
  // Quoted: the usual home of the installer has blanks in its path, and a
  // shorter path up to a blank must not be taken for the program.
  core::ShellAndWait(ctx, "\"" + program + "\"");
  ctx.state.installedCount += 1;
}

}  // namespace

void RunSceneryInstaller(core::Context& ctx, const std::string& path) {
  const std::string program = findInstaller(ctx);
  if (program.empty()) {
    ctx.dialogs.msgBox(std::string("Hangarpak could not find Ortholay in your system!\r\n\r\n") +
                           "You can download the latest version of Ortholay here:\r\n" + kOrtholayDownloadAddress,
                       "Could not find Ortholay", core::Buttons::OK, core::Icon::Exclamation);
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
