#pragma once

#include <string>

namespace core {
class Context;
}

namespace install {

// Application folder + "\TempZip": where every archive is extracted, flat,
// and where classification and the installers find the files.
std::string TempZipFolder(core::Context& ctx);

// The same with a trailing backslash, the form tempZipPath takes.
std::string TempZipPrefix(core::Context& ctx);

}  // namespace install
