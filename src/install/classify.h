#pragma once

#include <cstdint>

namespace core {
class Context;
}

namespace install {

// An .air file larger than this belongs to an FS5 aircraft.
inline constexpr std::uint64_t kLargestModernAir = 15000;

// Decides what the top level of TempZip holds, first rule wins, names
// compared without regard to case: an FS5 aircraft (first .air larger than
// 15000 bytes), several aircraft (a second .air), an aircraft (one .air and
// aircraft.cfg), a panel (panel.cfg), a sound set (sound.cfg), scenery
// packages (*.sif), scenery (*.bgl), adventures (*.adv), else nothing. Sets
// state.tempZipPath and state.packageKind.
void ClassifyPackage(core::Context& ctx);

}  // namespace install
