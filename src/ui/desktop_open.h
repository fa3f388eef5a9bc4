#pragma once

#include <string>
#include <string_view>

namespace core {
class Context;
}

namespace ui {

// What the desktop is asked to open, and with what kind of program.
struct DesktopTarget {
  std::string_view what;     // "The folder", "The page"
  std::string_view program;  // "file manager", "web browser"
};

// Hands hostPathOrUrl to the desktop's opener. When nothing can be started
// the user is told which file or page and why; returns whether it started.
bool OpenOnDesktop(core::Context& ctx, const std::string& hostPathOrUrl, const DesktopTarget& target);

}  // namespace ui
