#pragma once

#include <string>
#include <string_view>
#include <vector>

// Configuration files in the shapes the simulators' add-ons ship them:
// comment banners, sections the program never reads, CR LF line ends.
namespace sample {

struct Variant {
  std::string title;
  std::string sim = "Cessna172";
  std::string panel{};  // "" = the aircraft's own "panel" folder
  std::string sound{};
  std::string model{};
  std::string texture{};
};

// An aircraft.cfg with one section "fltsim." + i per variant, numbered in
// order from 0.
std::string aircraftCfg(const std::vector<Variant>& variants);
// One "fltsim." + n section as aircraft.cfg holds it (to build files with
// gaps or odd numbering).
std::string fltsimSection(int n, const Variant& variant);

// A usable panel.cfg ("Window Titles"/"Window00" set); with a display name
// in section "Hangarpak".
std::string panelCfg(std::string_view displayName = {});
// A panel.cfg without any window titles (unusable, not an alias).
std::string panelCfgWithoutWindows();
// A usable sound.cfg ("wind_sound"/"filename" set); with a display name.
std::string soundCfg(std::string_view displayName = {});
// The two-line alias configuration the program writes.
std::string aliasCfg(std::string_view target);

}  // namespace sample
