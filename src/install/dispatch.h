#pragma once

namespace core {
class Context;
}

namespace install {

// Acts on state.packageKind: refuses what cannot be installed with its
// message, asks before updating an aircraft, panel or sound set that is
// already installed, converts an FS5 aircraft, or makes the folders and hands
// the package to its installer. The progress window is shown again at the
// end, whatever happened.
void DispatchInstall(core::Context& ctx);

// The refusal of scenery packages under FS98, which has no scenery installer.
void RefuseSifUnderFs98(core::Context& ctx);

}  // namespace install
