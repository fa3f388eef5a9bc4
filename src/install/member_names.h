#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace install {

// The name under which an archive member is written into TempZip: the last
// component of its stored name, whichever of "/", "\" or a drive colon
// separates the components. Archives made on other systems use any of them,
// and a name that keeps none of them can never leave TempZip. nullopt for a
// member that must not be written at all: a folder entry (empty last
// component), a name that no file of the simulator's tree may have (".",
// "..", a wildcard or control character, a trailing dot or blank; see
// core::CheckName), or one longer than a host file name may be.
std::optional<std::string> FlatMemberName(std::string_view storedName);

// The folders of a member's stored name before its last component, joined
// by "\" ("" for none), separated as FlatMemberName separates them. A
// folder name that no folder of the simulator's tree may have ("", ".",
// "..", a wildcard; see core::CheckName) is left out: the aircraft
// installer names folders it makes after these, and they must stay where
// they are made.
std::string MemberFolder(std::string_view storedName);

}  // namespace install
