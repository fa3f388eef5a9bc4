#include "sample/configs.h"

namespace sample {

namespace {

std::string named(std::string s, std::string_view displayName) {
  if (!displayName.empty()) s += "\r\n[Hangarpak]\r\nName=" + std::string(displayName) + "\r\n";
  return s;
}

}  // namespace

std::string fltsimSection(int n, const Variant& v) {
  return "[fltsim." + std::to_string(n) + "]\r\ntitle=" + v.title + "\r\nsim=" + v.sim + "\r\nmodel=" + v.model +
         "\r\npanel=" + v.panel + "\r\nsound=" + v.sound + "\r\ntexture=" + v.texture +
         "\r\nkb_checklists=C172_CHECK\r\natc_id=N2095K\r\nui_manufacturer=\"Maker\"\r\nui_variation=\"" + v.title +
         " with gear fairings\"\r\ndescription=\"A light aircraft, flown by every school.\"\r\n\r\n";
}

std::string aircraftCfg(const std::vector<Variant>& variants) {
  std::string s = "*****************************\r\nLight single, freeware\r\n*****************************\r\n\r\n";
  for (std::size_t i = 0; i < variants.size(); ++i) s += fltsimSection(static_cast<int>(i), variants[i]);
  return s +
         "[General]\r\natc_type=CESSNA\r\natc_model=C172\r\nperformance=\"Cruise Speed\\n117 kts\"\r\n\r\n"
         "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight = 2300\r\n";
}

std::string panelCfg(std::string_view displayName) {
  return named(
      ";/ Name: panel.cfg\r\n\r\n[Window Titles]\r\nWindow00=Main Panel\r\nWindow01=Radio Stack\r\n\r\n"
      "[Window00]\r\nfile=panel.bmp\r\nsize_mm=640\r\nident=MAIN_PANEL\r\ngauge00=Cessna!Airspeed,  12, 38\r\n\r\n"
      "[Window01]\r\nfile=radio.bmp\r\ngauge00=Bendix_King_Radio!Bendix-King Radio Audio, 0, 0\r\n\r\n"
      "[Default View]\r\nX=0\r\nY=0\r\nSIZE_X=8192\r\n",
      displayName);
}

std::string panelCfgWithoutWindows() {
  return "[Color]\r\nDay=255,255,255\r\nNight=225,117,89\r\n\r\n[Default View]\r\nX=0\r\nY=0\r\n";
}

std::string soundCfg(std::string_view displayName) {
  return named(
      ";/ Name: "
      "sound.cfg\r\n\r\n[FLTSIM]\r\nproduct_code=FSIM\r\n\r\n[wind_sound]\r\nfilename=windsound\r\nflags=1\r\n\r\n"
      "[SOUND_ENGINE]\r\nnumber_of_engines=1\r\nENG1_STARTER=starter\r\n",
      displayName);
}

std::string aliasCfg(std::string_view target) {
  return "[fltsim]\r\nalias=" + std::string(target) + "\r\n";
}

}  // namespace sample
