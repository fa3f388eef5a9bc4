#pragma once

#include <string>

namespace core {
class Context;
}

namespace install {

// Installs one archive: a .sif scenery package is handed to the scenery
// installer; anything else is extracted into TempZip, classified, optionally
// given a folder name by the user and dispatched. Refusals are messages and
// the caller goes on with its next archive. A run-time error unloads the
// progress window, shows "Missing file ''hangarpak.dll''" (48), "Delete
// TempZip" (75) or "Install error N", with the cause in words below it
// (install/failure_words.h) and what the journal put back of the
// installation's changes, and ends the program (throws core::EndProgram).
void InstallArchive(core::Context& ctx, const std::string& archivePath);

}  // namespace install
