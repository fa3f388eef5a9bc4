#include "core/leftovers.h"

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/writes_in_progress.h"

namespace core {

void RemoveLeftovers(Context& ctx) {
  const Locations& loc = ctx.locations;
  for (const char* app : {"hangarpak", "Hangarpak", "Ortholay"}) RemoveAbandonedTemporaries(loc.configHome + "/" + app);
  RemoveAbandonedTemporaries(loc.appFolder);
  RemoveLeftoversOfEndedRuns(loc.appFolder);
}

}  // namespace core
