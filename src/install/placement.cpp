#include "install/placement.h"

#include "core/context.h"
#include "core/text.h"
#include "install/archive_members.h"
#include "install/placer.h"

namespace install {

const PlacementRule* FirstMatch(const std::vector<PlacementRule>& rules, std::string_view name) {
  for (const auto& rule : rules) {
    switch (rule.test) {
      case PlacementRule::Test::WholeName:
        if (core::iequals(name, rule.text)) return &rule;
        break;
      case PlacementRule::Test::EndsWith:
        if (core::iendsWith(name, rule.text)) return &rule;
        break;
      case PlacementRule::Test::Anything:
        return &rule;
    }
  }
  return nullptr;
}

std::vector<Placement> PlacementsByRules(const std::vector<const ArchiveMember*>& members,
                                         const std::vector<PlacementRule>& rules) {
  std::vector<Placement> placements;
  for (const ArchiveMember* member : members) {
    const PlacementRule* rule = FirstMatch(rules, member->name);
    if (rule && rule->target) placements.push_back({member, *rule->target});
  }
  return placements;
}

bool AskAddonName(core::Context& ctx, core::NamePrompt prompt) {
  auto& windows = ctx.windows();
  ctx.state.askName(prompt);
  windows.hideProgress();
  windows.setMainWindowEnabled(false);
  windows.showNamePrompt();
  windows.showProgress();
  windows.repaintProgress();
  return ctx.state.nameConfirmed;
}

}  // namespace install
