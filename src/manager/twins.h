#pragma once

#include <string>

#include "core/controls.h"
#include "manager/catalogue.h"

namespace manager {

// Panels and sound sets are twins: the catalogue, the current-entry rules
// and the swap work alike and differ only in these names.
struct Twin {
  const char* file;           // configuration file in an entry's folder
  const char* variantKey;     // key of "fltsim." + N in aircraft.cfg
  const char* folder;         // folder used when the variant key is empty; "<folder>." + X otherwise
  const char* markerSection;  // a usable configuration has a non-empty markerKey here
  const char* markerKey;
  const char* origKey;        // "Hangarpak" record of the former entry, + N
  const char* origSuffixKey;  // "Hangarpak" record of the former key value, + N
  core::ListView Catalogue::*lst;
  core::ComboBox Catalogue::*com;
  core::Label Catalogue::*totalLbl;
  std::string Catalogue::*current;
  std::string Catalogue::*shown;
  std::string Catalogue::*chosen;
  std::string Catalogue::*orig;
  std::string Catalogue::*origSuffix;
};

inline constexpr Twin kPanelTwin{.file = "panel.cfg",
                                 .variantKey = "panel",
                                 .folder = "panel",
                                 .markerSection = "Window Titles",
                                 .markerKey = "window00",
                                 .origKey = "OrgPanel",
                                 .origSuffixKey = "OrgPanInt",
                                 .lst = &Catalogue::panelLst,
                                 .com = &Catalogue::panelCom,
                                 .totalLbl = &Catalogue::panel2Lbl,
                                 .current = &Catalogue::currentPanel,
                                 .shown = &Catalogue::shownPanel,
                                 .chosen = &Catalogue::chosenPanel,
                                 .orig = &Catalogue::origPanel,
                                 .origSuffix = &Catalogue::origPanelSuffix};

inline constexpr Twin kSoundTwin{.file = "sound.cfg",
                                 .variantKey = "sound",
                                 .folder = "sound",
                                 .markerSection = "wind_sound",
                                 .markerKey = "filename",
                                 .origKey = "OrgLyd",
                                 .origSuffixKey = "OrgLydInt",
                                 .lst = &Catalogue::lydLst,
                                 .com = &Catalogue::lydCom,
                                 .totalLbl = &Catalogue::lyd2Lbl,
                                 .current = &Catalogue::currentSound,
                                 .shown = &Catalogue::shownSound,
                                 .chosen = &Catalogue::chosenSound,
                                 .orig = &Catalogue::origSound,
                                 .origSuffix = &Catalogue::origSoundSuffix};

inline constexpr const Twin* kTwins[] = {&kPanelTwin, &kSoundTwin};

// The folder of a variant's entry: "panel" for an empty key value, else
// "panel." + value.
inline std::string twinFolderName(const Twin& twin, const std::string& keyValue) {
  return keyValue.empty() ? std::string(twin.folder) : std::string(twin.folder) + "." + keyValue;
}

// Selects the choice list position of the catalogue row whose relative
// folder is entry, or position 0 ("---Not Listed---"); raises the list's
// Click as a selection from code does.
void selectEntry(core::ListView& lst, core::ComboBox& com, const std::string& entry);

}  // namespace manager
