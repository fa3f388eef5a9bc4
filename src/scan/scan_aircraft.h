#pragma once

namespace core {
class Context;
class ListView;
}  // namespace core

namespace scan {

class ReportBox;

// Checks every aircraft of flyLst (text = title, sub-item 1 = folder with
// trailing "\", sub-item 2 = section number) for the files its
// aircraft.cfg entry names, and writes the report into the box.
void ScanAircraft(core::Context& ctx, const core::ListView& flyLst, ReportBox& box);

}  // namespace scan
