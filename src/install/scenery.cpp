#include "install/scenery.h"

namespace install {

// Placeholder until the scenery hand-off lands: hands over nothing.
void RunSceneryInstaller(core::Context&, const std::string&) {}

}  // namespace install
