#pragma once

#include "install/archive_members.h"

namespace core {
class Context;
}

namespace install {

class MemberScope;
class Placer;

// Installs the sound set of a sound package into the store folder
// Aircraft\fsfsconv\sound.<installFolderName>: the wave files that its
// sound.cfg names ("filename" keys) are moved there first, then sound.cfg
// is copied, other wave files go to the shared Sound folder and, with
// "Install Doc", the rest to the store's Doc folder; sound.cfg leaves
// TempZip. Counts as installed and may be named.
void InstallSound(core::Context& ctx, const ArchiveMembers& members);

// The same for the aircraft whose members the scope holds, into its own
// sound folder; its wave files that sound.cfg does not name are left to the
// aircraft installer, and so are the members of its variant folders.
void InstallAircraftSound(core::Context& ctx, MemberScope& scope, Placer& placer);

}  // namespace install
