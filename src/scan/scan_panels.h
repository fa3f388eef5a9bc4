#pragma once

#include <vector>

#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace scan {

class ReportBox;

// Checks the bitmaps and gauges named by the panel.cfg of every entry, in
// catalogue order.
void ScanPanels(core::Context& ctx, const std::vector<manager::PanelEntry>& entries, ReportBox& box);

}  // namespace scan
