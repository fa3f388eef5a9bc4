#include "ui/drive_choice.h"

#include <string>

#include "core/context.h"
#include "core/controls.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/text.h"

namespace ui {

void ChangeDrive(core::Context& ctx, core::DriveList& drives, core::FolderList& folders, std::string_view picked) {
  const std::string remembered = folders.path();
  try {
    drives.setDrive(picked);
    folders.setPath(drives.drive());
  } catch (const core::RuntimeError& e) {
    if (e.number() != core::err::DeviceUnavailable) {
      ctx.dialogs.msgBox(e.what(), "", core::Buttons::OK, core::Icon::None);
      throw core::EndProgram{};
    }
    ctx.dialogs.msgBox("Drive not available", "Error", core::Buttons::OK, core::Icon::Critical);
    // Back to the drive of the folder still shown; the folder list stays put
    // instead of jumping to that drive's root.
    auto onChange = std::move(drives.onChange);
    drives.onChange = nullptr;
    core::step([&] { drives.setDrive(core::left(remembered, 2)); });
    drives.onChange = std::move(onChange);
  }
}

void OpenFolder(core::FolderList& folders, std::string_view path) {
  core::step([&] { folders.setPath(path); });
}

}  // namespace ui
