#include "install/folder_name.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/safe_names.h"
#include "core/text.h"

namespace install {

namespace {

// The folder-name prompt. False when the user cancelled.
bool askFolderName(core::Context& ctx) {
  auto& windows = ctx.windows();
  windows.hideProgress();
  windows.setMainWindowEnabled(false);
  windows.showNamePrompt();
  if (!ctx.state.nameConfirmed) return false;
  windows.showProgress();
  windows.repaintProgress();
  return true;
}

}  // namespace

bool SettleFolderName(core::Context& ctx, const std::string& archivePath, std::string_view origin) {
  auto& s = ctx.state;
  const bool proposed = !core::isOn(s.optFolderName);
  s.askName(core::NamePrompt::FolderName);
  if ((!proposed || !core::IsSafeName(s.installFolderName)) && !askFolderName(ctx)) {
    s.archiveRefusal = "no folder name was given";
    return false;
  }
  const core::NameFault fault = core::CheckName(s.installFolderName);
  if (fault == core::NameFault::None) return true;
  ctx.windows().hideProgress();
  ctx.dialogs.msgBox(core::upper(archivePath) + "\r\n\r\nThe folder name " +
                         (proposed ? "taken from " + std::string(origin) + " " : "") +
                         std::string(core::DescribeNameFault(fault)) + ".\r\n" + std::string(core::kFolderNameRefusal),
                     "Installation aborted", core::Buttons::OK, core::Icon::Critical);
  s.archiveRefusal = "the folder name " + std::string(core::DescribeNameFault(fault));
  return false;
}

}  // namespace install
