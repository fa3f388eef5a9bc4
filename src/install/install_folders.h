#pragma once

#include <string>

namespace core {
class Context;
}

namespace install {

// Makes the simulator's shared folders (Adv, Adv\Wav, Adv\Other for FS2000
// and FS2002, Aircraft, Aircraft\FSFSConv, Fonts, Gauges, Sound, Texture)
// and the package's own: the aircraft folder with Model, Panel, Sound,
// Texture (and Doc with "Install Doc"), or the store folder "panel." /
// "sound." + installFolderName (and its Doc). An existing folder, or one
// that cannot be made, is passed over.
void CreateInstallFolders(core::Context& ctx);

// Copies source to target (overwriting) and deletes the source only when the
// copy succeeded, so a file that could not be placed stays where it was.
// Every failure is passed over: a missing source changes nothing. True when
// the copy was made. link: no other file was given the source, so that the
// target may take the file itself (FileSystem::moveFile).
bool MoveToTarget(core::Context& ctx, const std::string& source, const std::string& target, bool link = false);

}  // namespace install
