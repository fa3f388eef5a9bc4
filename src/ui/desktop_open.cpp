#include "ui/desktop_open.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/process.h"

namespace ui {

bool OpenOnDesktop(core::Context& ctx, const std::string& hostPathOrUrl, const DesktopTarget& target) {
  try {
    core::OpenWithDesktop(ctx, hostPathOrUrl);
    return true;
  } catch (const core::RuntimeError& e) {
    ctx.dialogs.msgBox(std::string(target.what) + " " + hostPathOrUrl + " cannot be shown: no " +
                           std::string(target.program) + " could be started (" + core::inWords(e) + ").",
                       "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
    return false;
  }
}

}  // namespace ui
