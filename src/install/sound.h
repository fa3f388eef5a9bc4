#pragma once

namespace core {
class Context;
}

namespace install {

// Installs the sound set of TempZip: for a sound package into the store
// folder Aircraft\fsfsconv\sound.<installFolderName>, for an aircraft into
// its own sound folder. The wave files that sound.cfg names are moved there
// first, then sound.cfg is copied and the rest placed by name; sound.cfg
// leaves TempZip. A sound package counts as installed and may be named.
void InstallSound(core::Context& ctx);

}  // namespace install
