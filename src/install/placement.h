#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "install/placer.h"

namespace core {
class Context;
}

namespace install {

// One row of an installer's first-match table: a test on the lower-cased
// file name and the folder the file is copied to.
struct PlacementRule {
  enum class Test {
    WholeName,  // the name is text
    EndsWith,   // the last characters are text
    Anything,
  };
  Test test;
  std::string text;  // lower case
  // Folder with a trailing "\"; nullopt: the row claims the file and leaves
  // it in TempZip.
  std::optional<std::string> target;
};

// The first row that matches the name; nullptr when none does.
const PlacementRule* FirstMatch(const std::vector<PlacementRule>& rules, std::string_view name);

// Where the first matching row of each member sends it, in the members'
// order; members that no row places (or whose row claims them and leaves
// them in TempZip) are left out.
std::vector<Placement> PlacementsByRules(const std::vector<const ArchiveMember*>& members,
                                         const std::vector<PlacementRule>& rules);

// The add-on name prompt in mode 2 (aircraft), 3 (panel) or 4 (sound),
// pre-filled with archiveBaseName: the progress window is hidden and the
// main window disabled while it is open, then the progress window is shown
// again. True when the user confirmed; the answer is in archiveBaseName.
bool AskAddonName(core::Context& ctx, core::NamePrompt prompt);

}  // namespace install
