#pragma once

namespace app {

// Names the system's time zone file in TZ when TZ is not set, before the
// program converts any time. The C library then reads the zone once, as it
// does for any TZ, instead of looking at /etc/localtime again on every
// conversion of a local time to a moment: the ZIP library makes one such
// conversion for each member of an archive it opens. The local time stays
// the one the unset TZ gave. A TZ the user set, even an empty one (UTC), is
// left as it is. Called by the programs' main before they start a thread.
// True when it named the file: the processes the program starts are then
// given the environment without it, as it was.
bool NameTimeZoneFile();

}  // namespace app
