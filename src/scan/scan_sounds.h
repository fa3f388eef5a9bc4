#pragma once

namespace core {
class Context;
class ListView;
}  // namespace core

namespace scan {

class ReportBox;

// Checks the wave files named by the sound.cfg of every entry of lydLst
// (sub-item 1 = folder with trailing "\").
void ScanSounds(core::Context& ctx, const core::ListView& lydLst, ReportBox& box);

}  // namespace scan
