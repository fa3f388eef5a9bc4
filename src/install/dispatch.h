#pragma once

#include <string>
#include <vector>

namespace core {
class Context;
}

namespace install {

struct Package;

// Acts on state.packageKind: refuses what cannot be installed with its
// message, asks before updating an aircraft, panel or sound set that is
// already installed, converts an FS5 aircraft, or makes the folders and hands
// the package to its installer. The progress window is shown again at the
// end, whatever happened.
//
// An archive of several aircraft, each in a folder of its own, installs
// each into an aircraft folder named like its folder in the archive
// (numbered where two have one name), asked for in turn with "Folder Name"
// on, each with its own update question and name prompt; a cancelled prompt
// or a No passes over that aircraft only. The archive counts once, when at
// least one of its aircraft was installed, and installFolderName then lists
// their folders. Two .air files of one name that are not each in a folder
// of their own refuse the archive with a message naming both.
void DispatchInstall(core::Context& ctx, const Package& package);

// The folder names proposed for the aircraft in those folders of the
// archive: each folder's own name, numbered ("Cub (2)") where two have one.
std::vector<std::string> AircraftFolderNames(const std::vector<std::string>& archiveFolders);

// The refusal of scenery packages under FS98, which has no scenery installer.
void RefuseSifUnderFs98(core::Context& ctx);

}  // namespace install
