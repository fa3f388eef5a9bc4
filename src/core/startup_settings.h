#pragma once

#include <cstdint>
#include <string_view>

namespace core {

class Context;

// The application name of the per-user settings store.
inline constexpr std::string_view kSettingsApp = "Hangarpak";

// A stored number as the program converts it: blanks around it, a sign and
// a fraction (rounded half to even) are accepted. Text that is not a number
// is run-time error 13, a value outside the type's range error 6.
std::int16_t toInt16(std::string_view text);
std::uint8_t toByte(std::string_view text);

// Loads "Main" and "Options" into the state, in the order of the settings
// table, each value as soon as it is read; a value that is not a number or
// does not fit throws and leaves the later ones as they were.
void LoadSettings(Context& ctx);

// "Options"/"RunOnce" is "0" (or absent) until the first run is through.
bool FirstRun(Context& ctx);
void MarkFirstRunDone(Context& ctx);

}  // namespace core
