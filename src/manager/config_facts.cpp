#include "manager/config_facts.h"

#include "core/profile.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "manager/entry_kinds.h"

namespace manager {

ConfigFacts ReadConfigFacts(core::Context& ctx, EntryKind kind, std::string_view file) {
  const auto doc = core::ReadProfileDocument(ctx, file);
  const KindNames& names = namesOf(kind);
  return {.alias = doc.get("fltsim", "alias"),
          .name = doc.get("Hangarpak", "name"),
          .usable = !doc.get(names.markerSection, names.markerKey).value_or("").empty()};
}

std::optional<std::string> EntryConfigPath(std::string_view tree, std::string_view variantFolder, EntryKind kind,
                                           std::string_view keyValue) {
  return core::PathWithin(tree, variantFolder,
                          entryFolderName(kind, std::string(keyValue)) + "\\" + namesOf(kind).file);
}

std::optional<std::string> NamedEntry(const ConfigFacts& facts, std::string_view aircraftFolder,
                                      std::string_view file) {
  if (facts.alias && !facts.alias->empty()) return core::lower(*facts.alias);
  if (facts.usable) return core::lower(core::parentPath(file.substr(aircraftFolder.size() + 1)));
  return std::nullopt;
}

}  // namespace manager
