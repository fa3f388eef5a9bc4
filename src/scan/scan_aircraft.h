#pragma once

#include <vector>

#include "manager/catalogue.h"
#include "manager/parsed_configs.h"

namespace core {
class Context;
}

namespace scan {

class ReportBox;

// Checks every variant, in catalogue order, for the files its section of
// aircraft.cfg names, and writes the report into the box. parsed, when
// given, holds the aircraft.cfg files as the catalogue's walk of this same
// run parsed them, which are then not read again.
void ScanAircraft(core::Context& ctx, const std::vector<manager::AircraftVariant>& variants, ReportBox& box,
                  const manager::ParsedAircraftConfigs* parsed = nullptr);

}  // namespace scan
