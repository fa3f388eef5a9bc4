#pragma once

#include <vector>

#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace scan {

class ReportBox;

// Checks the wave files named by the sound.cfg of every entry, in
// catalogue order.
void ScanSounds(core::Context& ctx, const std::vector<manager::SoundEntry>& entries, ReportBox& box);

}  // namespace scan
