#pragma once

#include <string>
#include <vector>

#include "install/archive_members.h"

namespace install {

// What the archive being installed holds: TempZip's side table, and what
// classification found in it beyond the kind (state.packageKind).
struct Package {
  ArchiveMembers members;
  // An aircraft package: the folder in the archive of each aircraft it
  // holds, in the order of their .air files. One for an archive of one
  // aircraft; several when each sits in a folder of its own.
  std::vector<std::string> aircraftFolders;
  // A package of several aircraft that is refused: two .air files of one
  // name that are not each in a folder of their own, as the archive names
  // them.
  std::vector<std::string> clashingAirFiles;
};

}  // namespace install
