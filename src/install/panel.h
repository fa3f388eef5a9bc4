#pragma once

namespace core {
class Context;
}

namespace install {

// Installs the panel of TempZip: for a panel package into the store folder
// Aircraft\fsfsconv\panel.<installFolderName>, for an aircraft into its own
// panel folder. The bitmaps that panel.cfg names ("file" keys) are moved
// there first; then panel.cfg is copied, gauges go to the shared Gauges
// folder, wave files to the shared Sound folder, fonts to the fonts folder;
// panel.cfg leaves TempZip. A panel package counts as installed and may be
// named.
void InstallPanel(core::Context& ctx);

}  // namespace install
