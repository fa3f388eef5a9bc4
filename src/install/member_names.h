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

}  // namespace install
