#pragma once

#include <string>

namespace core {
class Context;
}

namespace install {

// The shipped page the message about a missing scenery installer sends the
// user to: how to get and install it under Wine.
std::string SceneryHelpPage(const core::Context& ctx);

// Hands .sif packages to the external scenery installer: path empty means
// every *.sif in TempZip, otherwise that one file. Adds 1 to installedCount
// per hand-over.
void RunSceneryInstaller(core::Context& ctx, const std::string& path);

}  // namespace install
