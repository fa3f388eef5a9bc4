#include "core/context.h"
#include "core/errors.h"
#include "manager/edit_support.h"

namespace manager {

// A hidden variant is one whose "sim" is empty; its value waits in
// "Hangarpak"/"Hide" + N until it is unhidden. Each change is written before
// the value it replaces is given up: the record before "sim" is emptied,
// "sim" before the record is cleared.
EditResult hideVariant(core::Context& ctx, Catalogue& catalogue, const VariantRef& ref, bool hide) {
  const VariantFile file(ctx, catalogue, ref);
  if (file.refusal()) return refused(*file.refusal());
  const std::string& title = file.variant().title;
  const std::string keptKey = "Hide" + file.number();
  const std::string sim = file.get(file.section(), "sim");
  const std::string kept = file.get("Hangarpak", keptKey);
  if (sim.empty() == hide) {
    catalogue.setHidden(file.index(), hide);
    return unchanged(title + (hide ? ": hidden" : ": active"));
  }
  if (!hide && kept.empty())
    return refused("\"" + title + "\" stays hidden: " + file.path() + " keeps no flight model for it (key \"" +
                   keptKey + "\" of section \"Hangarpak\" is empty).");

  Rollback rollback(ctx);
  try {
    rollback.keep(file.path());
    if (hide) {
      writeKey(ctx, file.path(), "Hangarpak", keptKey, sim);
      writeKey(ctx, file.path(), file.section(), "sim", "");
    } else {
      writeKey(ctx, file.path(), file.section(), "sim", kept);
      writeKey(ctx, file.path(), "Hangarpak", keptKey, "");
    }
  } catch (const core::RuntimeError& e) {
    return failedAfter(rollback, "\"" + title + "\" is not " + (hide ? "hidden" : "made active"), e);
  }
  catalogue.setHidden(file.index(), hide);
  return done(title + (hide ? ": hidden" : ": active"));
}

}  // namespace manager
