#pragma once

namespace core {
class Context;
}

namespace install {

class MemberScope;
class Placer;

// Installs the aircraft whose members the scope holds into
// Aircraft\<installFolderName>: its sound set and panel first (into its own
// sound and panel folders), then the checklist and reference files that its
// aircraft.cfg names, then every other file by its name (model, textures,
// documents; wave files to the shared Sound folder). Each variant folder of
// the archive (texture.red, model.X, panel.X, sound.X) becomes a folder of
// the same name in the aircraft folder with what it holds, gauges aside,
// which go to the shared Gauges folder. With "Addon Name" on the user names
// the aircraft. The caller counts it.
void InstallAircraft(core::Context& ctx, MemberScope& scope, Placer& placer);

}  // namespace install
