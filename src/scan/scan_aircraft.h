#pragma once

#include <vector>

#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace scan {

class ReportBox;

// Checks every variant, in catalogue order, for the files its section of
// aircraft.cfg names, and writes the report into the box.
void ScanAircraft(core::Context& ctx, const std::vector<manager::AircraftVariant>& variants, ReportBox& box);

}  // namespace scan
