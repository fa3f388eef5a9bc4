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
  // "<folder>[.<value>]\<file>", built in one string: the walk asks this of
  // every variant.
  const KindNames& names = namesOf(kind);
  std::string relative;
  relative.reserve(std::char_traits<char>::length(names.folder) + keyValue.size() +
                   std::char_traits<char>::length(names.file) + 2);
  relative += names.folder;
  if (!keyValue.empty()) (relative += '.') += keyValue;
  (relative += '\\') += names.file;
  return core::PathWithin(tree, variantFolder, relative);
}

std::optional<std::string> NamedEntry(const ConfigFacts& facts, std::string_view aircraftFolder,
                                      std::string_view file) {
  if (facts.alias && !facts.alias->empty()) return core::lower(*facts.alias);
  if (facts.usable) {
    const std::string_view relative = file.substr(aircraftFolder.size() + 1);
    const auto slash = relative.find_last_of("\\/");
    return core::lower(slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash));
  }
  return std::nullopt;
}

}  // namespace manager
