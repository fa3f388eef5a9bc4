#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/trash.h"
#include "manager/config_facts.h"
#include "manager/edit_support.h"
#include "manager/entry_kinds.h"

namespace manager {

namespace {

// The two lines of an alias configuration.
std::string aliasLines(const std::string& entry) {
  return "[fltsim]\r\nalias=" + core::utf8ToCp1252(entry) + "\r\n";
}

// What a variant's aircraft.cfg and the configuration its key names say
// about its panel (or sound) when the edit starts.
struct SwapState {
  SwapState(core::Context& ctx, const VariantFile& file, EntryKind kind)
      : names(namesOf(kind)),
        orig(file.get("Hangarpak", names.origKey + file.number())),
        origSuffix(file.get("Hangarpak", names.origSuffixKey + file.number())),
        value(file.get(file.section(), names.variantKey)),
        config(EntryConfigPath(file.variant().folder, file.variant().folder, kind, value)),
        alias(config ? ReadConfigFacts(ctx, kind, *config).alias.value_or("") : ""),
        aliasFolder(file.variant().folder + names.folder + ".hgrpak" + file.number()) {}

  const KindNames& names;
  std::string orig;        // the entry recorded before the first swap
  std::string origSuffix;  // the key's value then
  std::string value;       // the key's value now
  // The configuration the key names, when it lies in the variant's own
  // folder. A key that leads elsewhere (another aircraft's entry, or out of
  // the aircraft folder) is never written through: the variant gets an
  // alias folder of its own.
  std::optional<std::string> config;
  std::string alias;  // its alias, "" when it is none
  std::string aliasFolder;
};

// The key gets its recorded value back first, so that the variant never
// names a folder that is gone; then the alias folder goes.
EditResult putBack(core::Context& ctx, Catalogue& catalogue, const VariantFile& file, EntryKind kind,
                   const SwapState& state) {
  const std::string key = state.names.variantKey;
  Rollback rollback(ctx);
  try {
    rollback.keep(file.path());
    writeKey(ctx, file.path(), file.section(), key, state.origSuffix);
  } catch (const core::RuntimeError& e) {
    return failedAfter(rollback, "The " + key + " of \"" + file.variant().title + "\" is not put back", e);
  }
  std::unique_ptr<core::TrashItem> trash;
  std::vector<std::string> files;
  core::step([&] { trash = core::OpenTrashItem(ctx, state.aliasFolder); });
  core::step([&] { files = ctx.fs.listFiles(state.aliasFolder); });
  for (const auto& name : files)
    core::step([&] { core::DiscardFile(ctx, trash.get(), core::joinPath(state.aliasFolder, name)); });
  const bool removed = core::step([&] { ctx.fs.removeFolder(state.aliasFolder); });
  catalogue.setUses(file.index(), kind, listedUse(ctx, catalogue, file.variant(), kind, state.origSuffix));
  return done(file.variant().title + ": " + key + " " + catalogue.shownEntry(file.variant(), kind) +
              (removed || !ctx.fs.folderExists(state.aliasFolder) ? "" : " (" + state.aliasFolder + " is left over)"));
}

}  // namespace

EditResult swapEntry(core::Context& ctx, Catalogue& catalogue, const Swap& swap) {
  const VariantFile file(ctx, catalogue, swap.variant);
  if (file.refusal()) return refused(*file.refusal());
  SwapState state(ctx, file, swap.kind);
  const std::string key = state.names.variantKey;
  if (!catalogue.findEntry(swap.kind, swap.entry))
    return refused("The catalogue has no " + key + " \"" + swap.entry + "\".");
  const std::string& title = file.variant().title;
  const std::string what = "The " + key + " of \"" + title + "\" is not changed";
  const std::string doneText = title + ": " + key + " " + swap.entry;
  Rollback rollback(ctx);

  if (!state.alias.empty()) {
    // Already an alias: a swap made earlier, or an entry shipped as one.
    if (!state.value.empty() && swap.entry == state.orig) return putBack(ctx, catalogue, file, swap.kind, state);
    try {
      rollback.keep(*state.config);
      ctx.fs.writeFile(*state.config, aliasLines(swap.entry));
    } catch (const core::RuntimeError& e) {
      return failedAfter(rollback, what, e);
    }
    catalogue.setUses(file.index(), swap.kind, swap.entry);
    return done(doneText);
  }

  // The variant's own entry is recorded before anything points away from
  // it; without the record a swap could never be undone.
  const bool record = state.orig.empty();
  if (record) {
    state.orig = catalogue.shownEntry(file.variant(), swap.kind);
    state.origSuffix = state.value;
  }
  if (swap.entry == state.orig) return unchanged(doneText);
  // The alias folder and its configuration first, the key last: until the
  // key names it, the variant keeps what it had.
  try {
    if (!ctx.fs.folderExists(state.aliasFolder)) {
      ctx.fs.makeFolder(state.aliasFolder);
      rollback.made(state.aliasFolder);
    }
    const std::string aliasFile = core::joinPath(state.aliasFolder, state.names.file);
    rollback.keep(aliasFile);
    ctx.fs.writeFile(aliasFile, aliasLines(swap.entry));
    rollback.keep(file.path());
    if (record) {
      writeKey(ctx, file.path(), "Hangarpak", state.names.origKey + file.number(), state.orig);
      writeKey(ctx, file.path(), "Hangarpak", state.names.origSuffixKey + file.number(), state.origSuffix);
    }
    writeKey(ctx, file.path(), file.section(), key, "hgrpak" + file.number());
  } catch (const core::RuntimeError& e) {
    return failedAfter(rollback, what, e);
  }
  catalogue.setUses(file.index(), swap.kind, swap.entry);
  return done(doneText);
}

EditResult restoreEntry(core::Context& ctx, Catalogue& catalogue, const Restore& restore) {
  const VariantFile file(ctx, catalogue, restore.variant);
  if (file.refusal()) return refused(*file.refusal());
  const SwapState state(ctx, file, restore.kind);
  if (state.alias.empty() || state.value.empty() || state.orig.empty())
    return unchanged(file.variant().title + ": " + state.names.variantKey + " " +
                     catalogue.shownEntry(file.variant(), restore.kind));
  return putBack(ctx, catalogue, file, restore.kind, state);
}

}  // namespace manager
