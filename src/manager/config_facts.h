#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace manager {

// What the catalogue needs of a panel.cfg or sound.cfg, from one parse.
struct ConfigFacts {
  std::optional<std::string> alias;  // "fltsim"/"alias", when the key is there
  std::optional<std::string> name;   // "Hangarpak"/"Name"
  bool usable = false;               // the marker key of its kind is set
};

// The configuration file a variant's key names ("panel" + "." + value +
// "\panel.cfg" in its folder, the "." and ".." of the value folded), when
// it lies strictly inside tree: the aircraft folder for what the variant
// uses (add-ons may share another aircraft's panel), the variant's own
// folder for what a swap may write. nullopt when it leads out.
std::optional<std::string> EntryConfigPath(std::string_view tree, std::string_view variantFolder, EntryKind kind,
                                           std::string_view keyValue);

// An unreadable or missing file has no facts.
ConfigFacts ReadConfigFacts(core::Context& ctx, EntryKind kind, std::string_view file);

// The relative folder (lower case) of the entry a variant's configuration
// file names: the target of its alias, else its own folder below the
// aircraft folder (aircraftFolder, as EntryConfigPath spells it) when it is
// usable; nullopt when it names none.
std::optional<std::string> NamedEntry(const ConfigFacts& facts, std::string_view aircraftFolder, std::string_view file);

}  // namespace manager
