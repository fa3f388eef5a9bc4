#pragma once

#include <optional>
#include <string>

namespace core {
class Context;
}

namespace install {

// Where a panel's fonts go so that the simulator (under Wine) and the
// desktop can use them: the fonts folder of the simulator's Wine prefix,
// else that of drive C: when it is a prefix's (it holds a "windows" folder), else $XDG_DATA_HOME/fonts
// (~/.local/share/fonts). The folder is made when missing. A Windows path
// with a trailing backslash; nullopt when neither is reachable through the
// drive table.
std::optional<std::string> FontsFolder(core::Context& ctx);

}  // namespace install
