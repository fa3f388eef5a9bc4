#pragma once

namespace core {
class Context;
}

namespace install {

// Installs the single aircraft in TempZip into Aircraft\<installFolderName>:
// its sound set and panel first (into its own sound and panel folders),
// then the checklist and reference files that aircraft.cfg names, then
// every other file by its name (model, textures, documents; wave files to
// the shared Sound folder). With "Addon Name" on the user names the
// aircraft. Counts the aircraft as installed.
void InstallAircraft(core::Context& ctx);

}  // namespace install
