#include "manager/config_facts.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "manager/entry_kinds.h"

namespace manager {

ConfigFacts ReadConfigFacts(core::Context& ctx, EntryKind kind, std::string_view file) {
  std::string bytes;
  try {
    bytes = ctx.fs.readFile(file);
  } catch (const core::RuntimeError&) {
    return {};
  }
  // Three keys of a file that is mostly gauges or sounds: each is sought
  // from section header to section header, and nothing else is kept.
  const KindNames& names = namesOf(kind);
  return {.alias = core::profile::fileValue(bytes, "fltsim", "alias"),
          .name = core::profile::fileValue(bytes, "Hangarpak", "name"),
          .usable = !core::profile::fileValue(bytes, names.markerSection, names.markerKey).value_or("").empty()};
}

std::optional<std::string> EntryConfigPath(std::string_view tree, std::string_view variantFolder, EntryKind kind,
                                           std::string_view keyValue) {
  std::string relative = entryFolderName(kind, keyValue);
  (relative += '\\') += namesOf(kind).file;
  return core::PathWithin(tree, variantFolder, relative);
}

std::optional<std::string> NamedEntry(const ConfigFacts& facts, std::string_view aircraftFolder,
                                      std::string_view file) {
  if (facts.alias && !facts.alias->empty()) return core::lower(*facts.alias);
  if (facts.usable) return core::lower(core::parentPath(file.substr(aircraftFolder.size() + 1)));
  return std::nullopt;
}

}  // namespace manager
