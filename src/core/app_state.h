#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace core {

// Simulator versions as stored in "Options"/"FS Version".
namespace simver {
inline constexpr std::int16_t NotChosen = 1;
inline constexpr std::int16_t FS98 = 61;
inline constexpr std::int16_t FS2000 = 70;
inline constexpr std::int16_t FS2002 = 80;
}  // namespace simver

// What an archive holds, as classification decides it.
enum class PackageKind : std::uint8_t {
  None = 0,
  Aircraft = 1,
  Panel = 2,
  Sound = 3,
  Scenery = 4,
  Adventure = 5,
  MultiAircraft = 6,
  Fs5Aircraft = 7,
  Sif = 8,
};

// A checkbox of the options as "Options" stores it: "0", "1" or "2".
// Only On turns the option on. "Addon Name" is "2" until the options
// dialog first writes it; for the others 2 shows the box grayed. Any other
// stored number loads as it is and is written back unchanged.
enum class Option : std::uint8_t { Off = 0, On = 1, Unset = 2 };

inline bool isOn(Option option) {
  return option == Option::On;
}
// The option as "Options" stores it.
inline std::string optionText(Option option) {
  return std::to_string(static_cast<int>(option));
}

// The name prompt's question.
enum class NamePrompt : std::uint8_t {
  None,
  FolderName,    // the installation's folder, proposed from installFolderName
  AircraftName,  // the others proposed from archiveBaseName
  PanelName,
  SoundName,
};

// What the progress dialog shows.
enum class ProgressMode : std::uint8_t {
  None,
  Installing,  // "Please wait..." and a counter while archives are installed
  Update,      // a progress bar while the catalogue is rebuilt
};

// The program-wide state under its documented names. One instance lives in
// the Context; nothing else holds program state between calls.
struct AppState {
  // Settings loaded at start-up ("Main" and "Options").
  std::string startupFolder = "c:";
  std::string simFolder;  // no trailing backslash
  std::string sceneryFolder = "c:";
  std::int16_t simVersion = simver::NotChosen;
  Option optInstallDoc = Option::Off;
  Option optFolderName = Option::Off;
  Option optRunManager = Option::Off;
  Option optAddonName = Option::Unset;
  Option optAssociate = Option::Off;

  // Start-up and the window shell.
  std::string commandLineArchive;
  bool commandLineInstall = false;
  bool catalogueStale = true;  // the catalogue must be built again before it is shown
  std::uint8_t currentTab = 0;

  // Installation.
  std::string currentArchivePath;
  std::string archiveBaseName;
  std::string installFolderName;
  std::string tempZipPath;
  PackageKind packageKind = PackageKind::None;
  // The question the name prompt asks next, and whether the user confirmed
  // its answer (left in installFolderName or archiveBaseName).
  NamePrompt namePrompt = NamePrompt::None;
  bool nameConfirmed = false;
  std::int16_t installedCount = 0;
  ProgressMode progressMode = ProgressMode::None;
  bool skipPasswords = false;
  // What the install command's run has to tell beside its counter: members
  // left out or kept elsewhere because another took their place, one
  // sentence each. The command clears it when it starts.
  std::vector<std::string> installNotes;
  // Why the archive being installed was not installed, in words, for the
  // run's summary; set where it is refused, cleared by the install command
  // before each archive. Empty: no step said why.
  std::string archiveRefusal;

  // Sets the name prompt's next question, not answered yet.
  void askName(NamePrompt prompt) {
    namePrompt = prompt;
    nameConfirmed = false;
  }

  // Catalogue.
  bool catalogueBusy = false;
  bool flyItemClicked = false;  // a click on flyLst waits for its MouseDown
};

}  // namespace core
