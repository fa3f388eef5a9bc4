#pragma once

#include <string>
#include <string_view>

#include "manager/catalogue.h"

namespace manager {

// The names by which panels and sound sets differ: their configuration
// file, the variant's key that names their folder, the folder, what marks
// a usable configuration and the records of a swap.
struct KindNames {
  const char* file;           // configuration file in an entry's folder
  const char* variantKey;     // key of "fltsim." + N in aircraft.cfg
  const char* folder;         // folder used when the variant key is empty; "<folder>." + X otherwise
  const char* markerSection;  // a usable configuration has a non-empty markerKey here
  const char* markerKey;
  const char* origKey;        // "Hangarpak" record of the former entry, + N
  const char* origSuffixKey;  // "Hangarpak" record of the former key value, + N
};

inline constexpr KindNames kPanelNames{"panel.cfg", "panel",    "panel",    "Window Titles",
                                       "window00",  "OrgPanel", "OrgPanInt"};
inline constexpr KindNames kSoundNames{"sound.cfg", "sound", "sound", "wind_sound", "filename", "OrgLyd", "OrgLydInt"};

inline const KindNames& namesOf(EntryKind kind) {
  return kind == EntryKind::Panel ? kPanelNames : kSoundNames;
}

// The folder of a variant's entry: "panel" for an empty key value, else
// "panel." + value.
inline std::string entryFolderName(EntryKind kind, std::string_view keyValue) {
  std::string folder = namesOf(kind).folder;
  if (!keyValue.empty()) (folder += '.') += keyValue;
  return folder;
}

}  // namespace manager
