#include "core/context.h"
#include "core/errors.h"
#include "manager/edit_support.h"
#include "manager/entry_kinds.h"

namespace manager {

// An empty title is written as it is: the next walk then stops listing that
// aircraft.cfg at the section.
EditResult renameVariant(core::Context& ctx, Catalogue& catalogue, const RenameVariant& rename) {
  const VariantFile file(ctx, catalogue, rename.variant);
  if (file.refusal()) return refused(*file.refusal());
  if (file.variant().title == rename.title) return unchanged(rename.title);
  Rollback rollback(ctx);
  try {
    rollback.keep(file.path());
    writeKey(ctx, file.path(), file.section(), "title", rename.title);
  } catch (const core::RuntimeError& e) {
    return failedAfter(rollback, "\"" + file.variant().title + "\" is not renamed", e);
  }
  const std::size_t index = file.index();  // file's view of the variant ends with the move
  catalogue.setTitle(index, rename.title);
  return done(rename.title);
}

EditResult renameEntry(core::Context& ctx, Catalogue& catalogue, const RenameEntry& rename) {
  const auto index = catalogue.findEntry(rename.kind, rename.entry);
  const KindNames& names = namesOf(rename.kind);
  if (!index) return refused("The catalogue has no " + std::string(names.variantKey) + " \"" + rename.entry + "\".");
  const Entry& entry = catalogue.entry(rename.kind, *index);
  if (entry.name == rename.name) return unchanged(rename.name);
  const std::string file = entry.folder + names.file;
  Rollback rollback(ctx);
  try {
    rollback.keep(file);
    writeKey(ctx, file, "Hangarpak", "Name", rename.name);
  } catch (const core::RuntimeError& e) {
    return failedAfter(rollback, "\"" + entry.name + "\" is not renamed", e);
  }
  catalogue.setEntryName(rename.kind, *index, rename.name);
  return done(rename.name);
}

}  // namespace manager
