#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// For each file of TempZip, in list order, copies it to the target of its
// first matching row (overwriting). A failing copy is a run-time error for
// the caller's handler.
void PlaceFiles(core::Context& ctx, const std::vector<PlacementRule>& rules);

// The fields of a configuration file read as list input (commas and line
// ends separate, quotes removed). A file that cannot be read gives none.
std::vector<std::string> ReadListInputFields(core::Context& ctx, const std::string& path);

// The text after the first "=" of a field (the whole field without one).
std::string ValueOfField(std::string_view field);

// The add-on name prompt in mode 2 (aircraft), 3 (panel) or 4 (sound),
// pre-filled with archiveBaseName: the progress window is hidden and the
// main window disabled while it is open, then the progress window is shown
// again. True when the user confirmed; the answer is in archiveBaseName.
bool AskAddonName(core::Context& ctx, std::uint8_t mode);

}  // namespace install
