#pragma once

#include <string>
#include <vector>

#include "journal/model.h"
#include "manager/edits.h"

namespace core {
class Context;
}

namespace ui {

// A variant outside an installation that uses one of the installation's
// panels or sound sets through an alias (a swap onto it): it would point at
// a folder that is gone once the installation is uninstalled.
struct AliasUser {
  manager::VariantRef variant;
  std::string title;
  manager::EntryKind kind = manager::EntryKind::Panel;
};

// The catalogue's variants, other than the installation's own, that use an
// entry whose configuration file is the installation's (its effects say).
std::vector<AliasUser> AliasUsers(const manager::Catalogue& catalogue, const std::vector<journal::Effect>& effects);

// "\"Skyhawk\" (panel), \"Twin\" (sound)".
std::string NamesOf(const std::vector<AliasUser>& users);

// Points each one back at its own entry (a Restore, recorded in the
// journal). failed: the edits that did not happen, why; kept: the variants
// shipped with such an alias, which have no entry of their own to go back
// to. One sentence each.
struct PointedBack {
  std::vector<std::string> failed, kept;
};
PointedBack PointBack(core::Context& ctx, manager::Catalogue& catalogue, const std::vector<AliasUser>& users);

}  // namespace ui
