#pragma once

#include <string>

namespace core {
class Context;
struct AppState;
}  // namespace core

namespace install {

// The simulator vendor's Flight Shop converter: an outside program in the
// simulator folder that converts old FS5 aircraft and old adventures. It is
// configured through an INI-style file beside it, section "Options", and run
// while the program waits. FS98 has its own build of it.
struct Converter {
  std::string fileName;  // "aafconv98.exe" or "aafconv.exe"
  std::string program;   // simFolder + "\" + fileName
  std::string config;    // simFolder + "\aafconv98.cfg" or "\aafconv.cfg"
};

inline constexpr const char* kConverterSection = "Options";

// The converter of the current simulator version: aafconv98 for FS98,
// aafconv for FS2000 (and for any other version, which never gets here).
Converter converterFor(const core::AppState& state);

// Whether the converter program lies in the simulator folder.
bool converterPresent(core::Context& ctx, const Converter& converter);

// A folder as the converter is to read it from its configuration file: a
// Windows converter under Wine sees the files through its prefix's drives.
std::string PathForConverter(core::Context& ctx, const Converter& converter, const std::string& folder);

// Starts the converter and waits for it to end; the windows keep painting
// meanwhile. Whether it converted anything is not known here.
void runConverter(core::Context& ctx, const Converter& converter);

}  // namespace install
