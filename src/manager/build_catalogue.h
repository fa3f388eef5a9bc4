#pragma once

#include "manager/catalogue.h"
#include "manager/parsed_configs.h"

namespace core {
class Context;
}

namespace manager {

// Walks simFolder + "\aircraft" and the folders one and two levels below
// it, and lists every section "fltsim." + N of each aircraft.cfg (N = 0, 1,
// ... up to the first section without a title or with one that starts with
// "~"), every panel.cfg and sound.cfg in a folder of its own that is no
// alias, and for each variant the entry its panel and sound folders name.
// Each configuration file is parsed once. Every step goes on past a
// failure: a folder that cannot be listed or a file that cannot be read
// leaves what was read so far. The progress bar counts the aircraft
// folder's sub-folders; the 1000th titled section of one file shows
// "Overflow error in ''Search''" and ends the listing of that file. When
// given, parsed keeps each aircraft folder's aircraft.cfg as parsed.
Catalogue BuildCatalogue(core::Context& ctx, ParsedAircraftConfigs* parsed = nullptr);

}  // namespace manager
