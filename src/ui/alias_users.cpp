#include "ui/alias_users.h"

#include "journal/uninstall.h"
#include "manager/entry_kinds.h"

namespace ui {

std::vector<AliasUser> AliasUsers(const manager::Catalogue& catalogue, const std::vector<journal::Effect>& effects) {
  const journal::OwnPaths own(effects);
  std::vector<AliasUser> users;
  for (const auto kind : manager::kEntryKinds)
    for (std::size_t i = 0; i < catalogue.entryCount(kind); ++i) {
      const manager::Entry& entry = catalogue.entry(kind, i);
      if (!own.holds(entry.folder + manager::namesOf(kind).file)) continue;
      for (const auto& v : catalogue.variants())
        if (v.uses(kind) == entry.relative && !own.holds(v.configFile()))
          users.push_back({{v.folder, v.section}, v.title, kind});
    }
  return users;
}

std::string NamesOf(const std::vector<AliasUser>& users) {
  std::string text;
  for (const auto& user : users)
    text += (text.empty() ? "\"" : ", \"") + user.title + "\" (" + manager::namesOf(user.kind).variantKey + ")";
  return text;
}

PointedBack PointBack(core::Context& ctx, manager::Catalogue& catalogue, const std::vector<AliasUser>& users) {
  PointedBack out;
  for (const auto& user : users) {
    const auto result = manager::Apply(ctx, catalogue, manager::Restore{user.variant, user.kind});
    // A variant shipped with an alias has no own entry recorded to go back to.
    const auto still = catalogue.findVariant(user.variant.folder, user.variant.section);
    if (!result.succeeded())
      out.failed.push_back(result.text);
    else if (still && catalogue.variants()[*still].uses(user.kind) &&
             result.status == manager::EditResult::Status::Unchanged)
      out.kept.push_back("\"" + user.title + "\" keeps its " + manager::namesOf(user.kind).variantKey +
                         ": it has no entry of its own recorded to point back to.");
  }
  return out;
}

}  // namespace ui
