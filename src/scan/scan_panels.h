#pragma once

namespace core {
class Context;
class ListView;
}  // namespace core

namespace scan {

class ReportBox;

// Checks the bitmaps and gauges named by the panel.cfg of every entry of
// panelLst (sub-item 1 = folder with trailing "\").
void ScanPanels(core::Context& ctx, const core::ListView& panelLst, ReportBox& box);

}  // namespace scan
