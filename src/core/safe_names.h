#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one check that every name from outside the program passes before it
// becomes part of a path: the archive's file name, archive members, names
// the user types, and configuration values that name files and folders.
namespace core {

// Why a name cannot be one folder or file name of the simulator's tree.
enum class NameFault {
  None,
  Empty,
  DotName,             // "." or "..": the folder itself or its parent
  TrailingDotOrBlank,  // the simulator's file system drops them, so the name is another one
  ReservedCharacter,   // \ / : * ? " < > |
  ControlCharacter,
};

NameFault CheckName(std::string_view name);
inline bool IsSafeName(std::string_view name) {
  return CheckName(name) == NameFault::None;
}

// What is wrong with the name, in words for a message: "is empty", "ends in
// a dot or a blank", ...
std::string_view DescribeNameFault(NameFault fault);

// What the name prompt says of a folder name it refuses.
inline constexpr std::string_view kFolderNameRefusal = "Do NOT use \\ / :  '' * ? < > | in foldername!";

// A path that a configuration file names relative to the folder base,
// joined to it and with "." and ".." folded as the simulator's file system
// folds them. nullopt when the path would not stay strictly inside tree
// (base itself lies in tree): it climbs out, or the value names a drive or
// holds characters no name of the tree may hold.
std::optional<std::string> PathWithin(std::string_view tree, std::string_view base, std::string_view relative);

}  // namespace core
