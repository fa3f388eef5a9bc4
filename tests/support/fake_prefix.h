#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// A Wine prefix laid out as wineboot leaves it, without running Wine:
// system.reg and user.reg holding the key blocks given (in Wine's text
// format), dosdevices with c: -> ../drive_c and z: -> /, and drive_c.
void makeFakePrefix(const std::string& path, std::string_view systemKeys = {}, std::string_view userKeys = {});

// The key block of a simulator version's setup ("8.0"), under
// Software\Wow6432Node as a 32-bit setup writes it in a 64-bit prefix, or
// under Software itself.
std::string simulatorKeyBlock(std::string_view version, std::string_view folderValue, std::string_view folder,
                              std::string_view markerValue, std::string_view marker, bool wow6432 = true);

}  // namespace testsupport
