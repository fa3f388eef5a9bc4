#pragma once

#include <string>
#include <vector>

namespace core {
class Context;
}

namespace sample {

// A sample simulator with add-ons to install, for a first look at the
// program on a machine without a simulator and for the tests that run the
// whole job. writeSample lays out, below a root folder that stands for a
// drive:
//
//   FS98 | FS2000 | FS2002          the simulator of the version, in its own
//                                   capitals, with its executable (empty)
//     Aircraft\<name>\...           aircraft of several variants (one
//                                   hidden), own panels, sound sets, models
//                                   and textures; one variant given another
//                                   panel through an alias folder
//     Aircraft\FSFSConv\panel.*     the panel and sound store, with display
//     Aircraft\FSFSConv\sound.*     names
//     aafconv.exe, aafconv98.exe    stand-ins for the converter (the
//                                   version's own)
//   Program Files\Ortholay\Ortholay.exe   stand-in for the scenery installer
//   Downloads\                      an archive of every kind the installer
//                                   knows
//
// A few files that the configurations name are left out, so that every
// scan has something to report; Contents lists them.

// The hand-made aircraft folders; --aircraft adds generated ones up to the
// number asked for.
inline constexpr int HandMadeAircraft = 4;

struct Options {
  int version = 80;                 // 61, 70 or 80
  int aircraft = HandMadeAircraft;  // aircraft folders in all, at least HandMadeAircraft
  std::string standInInterpreter;   // host path of hangarpak-cli, run by the stand-ins' "#!" line
};

// What an archive of Downloads holds, by what the installer makes of it.
enum class DownloadKind {
  Aircraft,            // one aircraft with its own panel, gauges and sound set
  Liveries,            // one aircraft in several liveries, each in a folder of its own
  Panel,               // a panel for the store
  Sound,               // a sound set for the store
  Adventure,           // an adventure made for the version
  OldAdventure,        // an adventure of an older generation, for the converter
  Fs5Aircraft,         // an FS5 aircraft, for the converter
  SifPackage,          // a scenery install package, for the scenery installer
  Scenery,             // bare scenery files
  MultiAircraft,       // several aircraft in one archive
  NothingInstallable,  // documents and pictures only
  Nested,              // a panel archive inside an archive
};

struct Download {
  std::string file;  // name in Downloads
  DownloadKind kind;
  std::string what;  // one line for people
};

// What the sample holds, as the catalogue and the scans should find it.
struct Contents {
  std::string root;              // host path of the folder written
  std::string simFolder;         // host path of the simulator folder
  std::string simName;           // its name below the root ("FS2002")
  std::string downloads;         // host path of Downloads
  std::string sceneryInstaller;  // host path of the scenery installer stand-in
  int variants = 0;              // aircraft rows ("fltsim." + N sections)
  int hidden = 0;                // of them hidden
  int panels = 0;                // panels listed (aliases are not)
  int sounds = 0;
  // The files left out, as the scans name them, relative to the simulator
  // folder ("Aircraft\Puffin\texture.club\*.*", "Gauges\TwinStack.gau (cab)").
  std::vector<std::string> missingAircraftFiles;
  std::vector<std::string> missingPanelFiles;
  std::vector<std::string> missingSoundFiles;
  std::vector<Download> downloadFiles;
};

// Writes the sample below hostRoot (made when missing; files of an earlier
// sample are overwritten). Throws core::RuntimeError when a file cannot be
// written, std::invalid_argument for a version or count out of range.
Contents writeSample(const std::string& hostRoot, const Options& options);

// Records the sample where the setups record the real programs: the
// simulator's folder and marker values under its registry key, and the
// scenery installer's path under "App Paths". Paths are named through the
// context's drive table; returns false when the root lies on no drive.
bool registerSample(core::Context& ctx, const Contents& contents, int version);

}  // namespace sample
