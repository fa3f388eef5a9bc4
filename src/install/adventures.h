#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {
class Context;
}

namespace install {

// Installs the adventures (*.adv) extracted into TempZip by the simulator
// version's rules, converting old ones through TempAdv; adds 1 to
// installedCount for each package installed. A package none of whose
// adventures the simulator can take (old ones under FS2002) installs nothing
// and is not counted; state.archiveRefusal says why.
void InstallAdventures(core::Context& ctx);

// The three generations of .adv files, told apart by their first field.
enum class AdventureKind { Fs2000, Fs98, Old };
AdventureKind adventureKind(std::string_view advBytes);

// The folder below simFolder (with leading and trailing backslash) into
// which an adventure archive's file goes under the simulator version, by
// the last three characters of its name; nullopt leaves it in TempZip.
std::optional<std::string> adventureTarget(std::int16_t simVersion, std::string_view fileName);

}  // namespace install
