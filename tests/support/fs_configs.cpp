#include "support/fs_configs.h"

namespace testsupport {

std::string fltsimSection(int n, const Variant& v) {
  std::string s = "[fltsim." + std::to_string(n) + "]\r\n";
  s += "title=" + v.title + "\r\n";
  s += "sim=" + v.sim + "\r\n";
  s += "model=" + v.model + "\r\n";
  s += "panel=" + v.panel + "\r\n";
  s += "sound=" + v.sound + "\r\n";
  s += "texture=" + v.texture + "\r\n";
  s += "kb_checklists=C172_CHECK\r\n";
  s += "atc_id=N2095K\r\n";
  s += "ui_manufacturer=\"Maker\"\r\n";
  s += "ui_variation=\"" + v.title + " with gear fairings\"\r\n";
  s += "description=\"A light aircraft, flown by every school.\"\r\n";
  s += "\r\n";
  return s;
}

std::string aircraftCfg(const std::vector<Variant>& variants) {
  std::string s =
      "*********************************************************\r\n"
      "Light single, freeware\r\n"
      "*********************************************************\r\n\r\n";
  for (std::size_t i = 0; i < variants.size(); ++i) s += fltsimSection(static_cast<int>(i), variants[i]);
  s += "[General]\r\n"
       "atc_type=CESSNA\r\n"
       "atc_model=C172\r\n"
       "editable=1\r\n"
       "performance=\"Cruise Speed\\n117 kts\"\r\n\r\n"
       "[WEIGHT_AND_BALANCE]\r\n"
       "max_gross_weight = 2300\r\n"
       "empty_weight = 1454\r\n";
  return s;
}

std::string panelCfg(std::string_view displayName) {
  std::string s =
      ";/ =====================================\r\n"
      ";/ Name: panel.cfg\r\n"
      ";/ =====================================\r\n\r\n"
      "[Window Titles]\r\n"
      "Window00=Main Panel\r\n"
      "Window01=Radio Stack\r\n\r\n"
      "[Window00]\r\n"
      "file=panel.bmp\r\n"
      "size_mm=640\r\n"
      "position=7\r\n"
      "visible=1\r\n"
      "ident=MAIN_PANEL\r\n"
      "gauge00=Cessna!Airspeed,  12, 38\r\n"
      "gauge01=Cessna!Attitude, 102, 38\r\n\r\n"
      "[Window01]\r\n"
      "file=radio.bmp\r\n"
      "gauge00=Bendix_King_Radio!Bendix-King Radio Audio, 0, 0\r\n\r\n"
      "[Default View]\r\n"
      "X=0\r\n"
      "Y=0\r\n"
      "SIZE_X=8192\r\n"
      "SIZE_Y=5300\r\n";
  if (!displayName.empty()) s += "\r\n[Hangarpak]\r\nName=" + std::string(displayName) + "\r\n";
  return s;
}

std::string panelCfgWithoutWindows() {
  return "[Color]\r\nDay=255,255,255\r\nNight=225,117,89\r\n\r\n[Default View]\r\nX=0\r\nY=0\r\n";
}

std::string soundCfg(std::string_view displayName) {
  std::string s =
      ";/ =====================================\r\n"
      ";/ Name: sound.cfg\r\n"
      ";/ =====================================\r\n\r\n"
      "[FLTSIM]\r\n"
      "product_code=FSIM\r\n\r\n"
      "[wind_sound]\r\n"
      "filename=windsound\r\n"
      "flags=1\r\n\r\n"
      "[SOUND_ENGINE]\r\n"
      "number_of_engines=1\r\n"
      "ENG1_COMBUSTION=COMBUSTION.1.00\r\n"
      "ENG1_STARTER=starter\r\n"
      "ENG1_SHUTDOWN=shutdown\r\n";
  if (!displayName.empty()) s += "\r\n[Hangarpak]\r\nName=" + std::string(displayName) + "\r\n";
  return s;
}

std::string aliasCfg(std::string_view target) {
  return "[fltsim]\r\nalias=" + std::string(target) + "\r\n";
}

}  // namespace testsupport
