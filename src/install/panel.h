#pragma once

#include "install/archive_members.h"

namespace core {
class Context;
}

namespace install {

class MemberScope;
class Placer;

// Installs a panel package into the store folder
// Aircraft\fsfsconv\panel.<installFolderName>: the bitmaps that its
// panel.cfg names ("file" keys, the value without the blanks around it) are
// moved there first; then panel.cfg is copied, gauges go to the shared
// Gauges folder, wave files to the shared Sound folder, fonts to the fonts
// folder and, with "Install Doc", the rest to the store's Doc folder;
// panel.cfg leaves TempZip. Counts as installed and may be named.
void InstallPanel(core::Context& ctx, const ArchiveMembers& members);

// The same for the aircraft whose members the scope holds, into its own
// panel folder and without the Doc folder; of the members of its variant
// folders only the gauges go to the shared Gauges folder here.
void InstallAircraftPanel(core::Context& ctx, MemberScope& scope, Placer& placer);

}  // namespace install
