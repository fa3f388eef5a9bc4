#include "app/time_zone.h"

#include <cstdlib>

namespace app {

bool NameTimeZoneFile() {
  // A TZ already there, empty or not, stays.
  if (std::getenv("TZ")) return false;
  return ::setenv("TZ", ":/etc/localtime", 0) == 0;
}

}  // namespace app
