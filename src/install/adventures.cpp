#include "install/adventures.h"

namespace install {

// Placeholder until the adventure installer lands: installs nothing.
void InstallAdventures(core::Context&) {}

}  // namespace install
