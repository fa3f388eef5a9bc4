#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/package.h"

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
//
// Several aircraft are an aircraft package after all when each .air file
// lies in a folder of its own with an aircraft.cfg beside it, none of those
// folders inside another: each is installed as an aircraft of its own
// (package.aircraftFolders). Where they do not, and two of the .air files
// have one name, package.clashingAirFiles names them for the refusal.
void ClassifyPackage(core::Context& ctx, Package& package);

// The folders of the aircraft of an archive with several .air files, when
// each lies in a folder of its own as above; else none.
std::vector<std::string> SeparateAircraftFolders(const ArchiveMembers& members);

}  // namespace install
