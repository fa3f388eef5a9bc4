#pragma once

namespace core {
class Context;
}

namespace install {

// Installs the adventures (*.adv) extracted into TempZip by the simulator
// version's rules, converting old ones through TempAdv; adds 1 to
// installedCount for each package installed.
void InstallAdventures(core::Context& ctx);

}  // namespace install
