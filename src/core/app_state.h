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

// The program-wide state under its documented names. One instance lives in
// the Context; nothing else holds program state between calls.
struct AppState {
  // Settings loaded at start-up ("Main" and "Options").
  std::string startupFolder = "c:";
  std::string simFolder;  // no trailing backslash
  std::string sceneryFolder = "c:";
  std::int16_t simVersion = simver::NotChosen;
  std::uint8_t optInstallDoc = 0;
  std::uint8_t optFolderName = 0;
  std::uint8_t optRunManager = 0;
  std::uint8_t optAddonName = 2;  // 2 = never set, counts as off
  std::uint8_t optAssociate = 0;

  // Start-up and the window shell.
  std::string commandLineArchive;
  bool commandLineInstall = false;
  std::uint8_t catalogueStale = 1;
  std::uint8_t currentTab = 0;

  // Installation.
  std::string currentArchivePath;
  std::string archiveBaseName;
  std::string installFolderName;
  std::string tempZipPath;
  PackageKind packageKind = PackageKind::None;
  std::uint8_t namePromptMode = 0;  // 1 folder, 2 aircraft, 3 panel, 4 sound; 10 = confirmed
  std::int16_t installedCount = 0;
  std::uint8_t progressMode = 0;  // 1 installing, 2 update
  bool skipPasswords = false;
  // What the install command's run has to tell beside its counter: members
  // left out or kept elsewhere because another took their place, one
  // sentence each. The command clears it when it starts.
  std::vector<std::string> installNotes;

  // Catalogue.
  bool catalogueBusy = false;
  std::uint8_t flyItemClicked = 0;
};

}  // namespace core
