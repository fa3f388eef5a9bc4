#include "core/leftovers.h"

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"

namespace core {

namespace {
// simFolder\Aircraft\<aircraft>\<panel, sound, texture or an alias folder>.
constexpr int kSimulatorDepth = 3;
}  // namespace

void RemoveLeftovers(Context& ctx) {
  const Locations& loc = ctx.locations;
  for (const char* app : {"hangarpak", "Hangarpak", "Ortholay"}) RemoveAbandonedTemporaries(loc.configHome + "/" + app);
  RemoveAbandonedTemporaries(loc.appFolder);
  if (ctx.state.simFolder.empty()) return;
  std::string sim;
  if (step([&] { sim = ctx.fs.hostPath(ctx.state.simFolder); })) RemoveAbandonedTemporaries(sim, kSimulatorDepth);
}

}  // namespace core
