#pragma once

#include <iosfwd>
#include <string>

namespace core {
class Environment;
}

namespace sample {

// Stand-ins for the outside programs the installer starts, so that the
// conversion and scenery paths run where neither program is installed. A
// stand-in is a file under the real program's name (aafconv.exe,
// aafconv98.exe, Ortholay.exe) whose "#!" line runs `hangarpak-cli stand-in`
// on it; what it does is chosen by that name:
//
// - the converter reads section "Options" of the .cfg beside it, named like
//   itself, and converts into the simulator folder it lies in: every *.air
//   of AircraftInputPath becomes aircraft\NAME\NAME.air with an
//   aircraft.cfg naming it (kept when there is one), every *.adv of
//   AdventureInputPath becomes Adv\NAME.adv with the signature of the
//   generation this converter writes ("FS6x adventure" for aafconv98, "FS7
//   adventure" for aafconv) in place of its first line;
// - the scenery installer reads "QX Start" of section "General" of the
//   settings of application "Ortholay" and takes note of that package.
//
// Each run says what it did on out and appends one line to <name>.log
// beside the program:
//   converter: aircraft=<path>|adventure=<path>|sounds=<v>|situations=<v>|air=<names>|adv=<names>
//   scenery installer: <QX Start>|<first line of the package, or "(missing)">
// The environment is the one the program started it with (drive table,
// settings store). Returns the exit status: 1 when the converter was given
// no input path, 2 for a name that is no stand-in.
int runStandIn(const std::string& programHostPath, const core::Environment& env, std::ostream& out);

// The bytes of a stand-in program file: a "#!" line that runs
// `interpreter stand-in` on the file, then a line saying what it stands in
// for. An interpreter path the kernel cannot take on a "#!" line (a blank
// in it, or too long) is reached through /bin/sh instead.
std::string standInProgram(const std::string& interpreterHostPath, const std::string& standsInFor);

}  // namespace sample
