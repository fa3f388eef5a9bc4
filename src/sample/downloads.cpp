// Downloads: one archive of every kind the installer knows, as add-on sites
// hand them out (an aircraft in a folder of its own, a readme beside the
// files). What each one becomes depends on the version: the adventure is
// made for it, and the converter and scenery paths refuse on the versions
// that lack them.

#include "sample/archive_builder.h"
#include "sample/bitmap.h"
#include "sample/tree.h"

namespace sample {

namespace {

std::string wave(std::string_view name) {
  std::string out = "RIFF sample sound " + std::string(name);
  out.resize(400, '~');
  return out;
}

std::string readme(std::string_view text) {
  return crlf(std::string(text) + "\n\nFreeware. Made by hangarpak-cli sample for trying Hangarpak.\n");
}

ArchiveBuilder aircraft() {
  const std::string d = "Swift Sport/";
  ArchiveBuilder zip;
  zip.add(d + "aircraft.cfg", crlf(R"(;/ =====================================
;/ Swift Sport - aerobatic single seater
;/ =====================================

[fltsim.0]
title=Swift Sport
sim=swift
model=
panel=
sound=
texture=
kb_checklists=swift_check
atc_id=G-SWFT
ui_manufacturer="Swift"

[fltsim.1]
title=Swift Sport Aerobatic
sim=swift
model=
panel=
sound=
texture=
kb_checklists=swift_check
atc_id=G-AERO
ui_variation="Smoke system"

[General]
atc_type=SWIFT
editable=1
)"));
  zip.add(d + "swift.air", std::string(6000, 'S'));
  zip.add(d + "model/model.cfg", crlf("[models]\nnormal=swift\n"));
  zip.add(d + "model/swift.mdl", std::string(3000, 'M'));
  zip.add(d + "texture/swift_t.bmp", bitmap(16, 16, 0x2060c0));
  zip.add(d + "texture/swift_l.bmp", bitmap(16, 16, 0x102040));
  zip.add(d + "panel/panel.cfg", crlf(R"([Window Titles]
Window00=Main Panel

[Window00]
file=swift_panel.bmp
size_mm=640
visible=1
gauge00=SwiftGauges!G Meter,  20, 30, 90, 90
gauge01=SwiftGauges!Airspeed, 120, 30, 90, 90
gauge02=LarkGauges!Altimeter, 220, 30, 90, 90
)"));
  zip.add(d + "panel/swift_panel.bmp", bitmap(64, 24, 0x383838));
  zip.add(d + "panel/SwiftGauges.gau", "MZ gauge SwiftGauges");
  zip.add(d + "sound/sound.cfg", crlf(R"([COMBUSTION.1.00]
filename=swift_eng
flags=0

[wind_sound]
filename=swift_wind
)"));
  zip.add(d + "sound/swift_eng.wav", wave("swift_eng"));
  zip.add(d + "sound/swift_wind.wav", wave("swift_wind"));
  zip.add(d + "swift_check.txt", crlf("Swift Sport checklist\n"));
  zip.add(d + "swift_notes.txt", crlf("Notes: the smoke system is on the S key.\n"));
  zip.add(d + "readme.txt", readme("Swift Sport, with its own panel, gauges and sounds."));
  return zip;
}

// A trainer in three paints, each livery in a folder of its own beside
// the default paint: its textures have the same names in every folder.
ArchiveBuilder liveries() {
  const std::string d = "Kestrel Trainer/";
  ArchiveBuilder zip;
  std::string cfg = ";/ Kestrel Trainer - one aircraft, three liveries\n";
  const struct {
    const char* title;
    const char* texture;
    const char* atcId;
  } paints[] = {{"Kestrel Trainer", "", "G-KSTL"},
                {"Kestrel Trainer Red Arrow", "red", "G-KRED"},
                {"Kestrel Trainer Blue Sky", "blue", "G-KBLU"}};
  for (int i = 0; i < 3; ++i)
    cfg += "\n[fltsim." + std::to_string(i) + "]\ntitle=" + paints[i].title +
           "\nsim=kestrel\nmodel=\npanel=\nsound=\ntexture=" + paints[i].texture + "\natc_id=" + paints[i].atcId + "\n";
  zip.add(d + "aircraft.cfg", crlf(cfg + "\n[General]\natc_type=KESTREL\neditable=1\n"));
  zip.add(d + "kestrel.air", std::string(5000, 'K'));
  zip.add(d + "model/model.cfg", crlf("[models]\nnormal=kestrel\n"));
  zip.add(d + "model/kestrel.mdl", std::string(2500, 'M'));
  const std::pair<std::string, std::uint32_t> folders[] = {
      {"texture", 0xe0e0e0}, {"texture.red", 0xc02020}, {"texture.blue", 0x2040c0}};
  for (const auto& [folder, colour] : folders) {
    zip.add(d + folder + "/kestrel_t.bmp", bitmap(16, 16, colour));
    zip.add(d + folder + "/kestrel_l.bmp", bitmap(16, 16, colour / 2));
  }
  // The panel editor wrote its keys with blanks around "=".
  zip.add(d + "panel/panel.cfg", crlf(R"([Window Titles]
Window00=Main Panel

[Window00]
file = kestrel_panel.bmp
size_mm = 640
gauge00 = LarkGauges!Airspeed, 20, 30, 90, 90
)"));
  zip.add(d + "panel/kestrel_panel.bmp", bitmap(64, 24, 0x404848));
  zip.add(d + "sound/sound.cfg", crlf("[COMBUSTION.1.00]\nfilename=kestrel_eng\nflags=0\n"));
  zip.add(d + "sound/kestrel_eng.wav", wave("kestrel_eng"));
  zip.add(d + "readme.txt", readme("Kestrel Trainer in three liveries: pick one in the Aircraft tab."));
  zip.add(d + "texture.red/readme.txt", readme("The Red Arrow livery."));
  return zip;
}

ArchiveBuilder panel(const std::string& name, std::uint32_t colour) {
  ArchiveBuilder zip;
  zip.add("panel.cfg", crlf("[Window Titles]\nWindow00=" + name + "\n\n[Window00]\nfile=" + name +
                            "_day.bmp\ngauge00=" + name + "Gauges!Clock, 10, 10, 60, 60\n"));
  zip.add(name + "_day.bmp", bitmap(64, 24, colour));
  zip.add(name + "Gauges.gau", "MZ gauge " + name);
  zip.add("readme.txt", readme("A panel for any aircraft: pick it in the Aircraft tab."));
  return zip;
}

ArchiveBuilder sound() {
  ArchiveBuilder zip;
  zip.add("sound.cfg", crlf("[COMBUSTION.1.00]\nfilename=whisper_eng\nflags=0\n\n[starter]\n"
                            "filename=whisper_start\n"));
  zip.add("whisper_eng.wav", wave("whisper_eng"));
  zip.add("whisper_start.wav", wave("whisper_start"));
  zip.add("whisper_extra.wav", wave("whisper_extra"));
  zip.add("readme.txt", readme("Whisper Jet sounds."));
  return zip;
}

ArchiveBuilder adventure(int version) {
  ArchiveBuilder zip;
  const std::string signature = version == 61 ? "FS6x adventure" : "FS7 adventure";
  zip.add("coastal_tour.adv", crlf(signature + ", Coastal Tour\nbody of the adventure\n"));
  zip.add("coastal_tour.wav", wave("coastal_tour"));
  zip.add("coastal_tour.stn", crlf("[Situation]\nTitle=Coastal Tour\n"));
  zip.add("coastal_tour.brf", crlf("Briefing: follow the coast north.\n"));
  return zip;
}

ArchiveBuilder oldAdventure() {
  ArchiveBuilder zip;
  zip.add("ferry_flight.adv", crlf("AAF adventure, Ferry Flight\nbody of the adventure\n"));
  zip.add("ferry_flight.wav", wave("ferry_flight"));
  return zip;
}

ArchiveBuilder fs5Aircraft() {
  ArchiveBuilder zip;
  zip.add("biplane.air", std::string(20000, 'B'));
  zip.add("biplane.txt", crlf("An FS5 biplane.\n"));
  return zip;
}

ArchiveBuilder scenery() {
  ArchiveBuilder zip;
  zip.add("city_lights.bgl", std::string(2000, 'G'));
  zip.add("readme.txt", readme("City lights scenery."));
  return zip;
}

ArchiveBuilder multiAircraft() {
  ArchiveBuilder zip;
  zip.add("aircraft.cfg", crlf("[fltsim.0]\ntitle=Formation Lead\nsim=lead\n"));
  zip.add("lead.air", std::string(3000, 'L'));
  zip.add("wing.air", std::string(3000, 'W'));
  return zip;
}

ArchiveBuilder nothingInstallable() {
  ArchiveBuilder zip;
  zip.add("readme.txt", readme("Screenshots of a flight."));
  zip.add("screenshot1.jpg", std::string(1500, 'J'));
  return zip;
}

}  // namespace

void writeDownloads(Tree& tree, int version) {
  auto& list = tree.contents().downloadFiles;
  auto put = [&](const std::string& file, DownloadKind kind, std::string what, const ArchiveBuilder& zip) {
    tree.file("Downloads/" + file, zip.bytes());
    list.push_back({file, kind, std::move(what)});
  };
  put("swift_sport.zip", DownloadKind::Aircraft, "an aircraft with its own panel, gauges and sound set", aircraft());
  put("kestrel_liveries.zip", DownloadKind::Liveries, "an aircraft in three liveries, each in a folder of its own",
      liveries());
  put("sunset_panel.zip", DownloadKind::Panel, "a panel for the panel store", panel("Sunset", 0x704020));
  put("whisper_jet_sound.zip", DownloadKind::Sound, "a sound set for the sound store", sound());
  put("coastal_tour.zip", DownloadKind::Adventure, "an adventure made for this version", adventure(version));
  put("ferry_flight_old.zip", DownloadKind::OldAdventure, "an old adventure that needs the converter", oldAdventure());
  put("fs5_biplane.zip", DownloadKind::Fs5Aircraft, "an FS5 aircraft that needs the converter", fs5Aircraft());
  tree.file("Downloads/harbour_scenery.sif", crlf("[SIF]\nTitle=Harbour scenery\nArea=Harbour\n"));
  list.push_back({"harbour_scenery.sif", DownloadKind::SifPackage, "a package for the scenery installer"});
  put("city_lights_scenery.zip", DownloadKind::Scenery, "bare scenery files", scenery());
  put("formation_pack.zip", DownloadKind::MultiAircraft, "two aircraft in one archive", multiAircraft());
  put("screenshots.zip", DownloadKind::NothingInstallable, "nothing the simulator uses", nothingInstallable());
  ArchiveBuilder nested;
  nested.addArchive("moonlight_panel.zip", panel("Moonlight", 0x182040));
  nested.add("read_me_first.txt", readme("The panel is in the archive inside."));
  put("moonlight_bundle.zip", DownloadKind::Nested, "a panel archive inside an archive", nested);
}

}  // namespace sample
