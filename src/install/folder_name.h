#pragma once

#include <string>
#include <string_view>

namespace core {
class Context;
}

namespace install {

// Settles state.installFolderName, proposed from the archive (origin says
// from what, for the message: "the archive's name"). With "Folder Name" on,
// or when the proposal is no name a folder may have, the name prompt asks
// for it (and refuses it until it is changed); where no one could change it
// (the command line without a terminal) the name is refused with a message
// naming the archive. False when nothing is to be installed under a name:
// the prompt was cancelled (silently) or the name refused.
bool SettleFolderName(core::Context& ctx, const std::string& archivePath, std::string_view origin);

}  // namespace install
