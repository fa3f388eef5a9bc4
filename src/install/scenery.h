#pragma once

#include <string>

namespace core {
class Context;
}

namespace install {

// Where the message about a missing scenery installer sends the user.
inline constexpr const char* kOrtholayDownloadAddress = "https://www.ortholay.example/download/";

// Hands .sif packages to the external scenery installer: path empty means
// every *.sif in TempZip, otherwise that one file. Adds 1 to installedCount
// per hand-over.
void RunSceneryInstaller(core::Context& ctx, const std::string& path);

}  // namespace install
