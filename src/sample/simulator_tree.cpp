// The sample simulator: four hand-made aircraft whose configuration files
// look like the ones add-ons ship (banners, tabs before "=", sections the
// program never reads, gauge lines of several fields), the panel and sound
// store, the shared folders, and the converter stand-in of the version.

#include <cstdint>

#include "core/simulator.h"
#include "sample/bitmap.h"
#include "sample/standins.h"
#include "sample/tree.h"

namespace sample {

namespace {

// Bytes of a file whose content does not matter, only that it is there.
std::string filler(std::string_view label, std::size_t size) {
  std::string out(label);
  out += "\r\n";
  while (out.size() < size) out += static_cast<char>('A' + out.size() % 26);
  return out;
}

std::string wave(std::string_view name) {
  return filler("RIFF sample sound " + std::string(name), 256);
}

std::string texture(std::uint32_t rgb) {
  return bitmap(16, 16, rgb);
}

// The aircraft folder and what it leaves out, by the scan that notices.
struct Aircraft {
  std::string folder;  // "Lark_150"
  int variants;
  int hidden;
};

void account(Tree& tree, const Aircraft& a) {
  tree.contents().variants += a.variants;
  tree.contents().hidden += a.hidden;
}

// A light trainer of three variants; the club one is hidden. Its reference
// text is left out.
void writeLark(Tree& tree, const std::string& sim) {
  const std::string f = sim + "/Aircraft/Lark_150/";
  tree.file(f + "aircraft.cfg", crlf(R"(;/ =====================================
;/ Lark 150 - two-seat trainer
;/ Name: aircraft.cfg
;/ Version: 1.2
;/ =====================================


[fltsim.0]
title			= Lark 150 Trainer
sim				= lark150
model			=
panel			=
sound			=
texture			=
kb_checklists	= lark150_check
kb_reference	= lark150_ref
atc_id			= G-LARK
ui_manufacturer	= "Lark Aviation"
ui_variation	= "Trainer"
description		= "Two seats, one engine and a stall that forgives.\n117 kts cruise"

[fltsim.1]
title=Lark 150 on Floats
sim=lark150
model=
panel=
sound=
texture=floats
kb_checklists=lark150_check
atc_id=C-FLRK
ui_variation="Floats"

[fltsim.2]
title = Lark 150 Club
sim =
model =
panel =
sound =
texture = club
atc_id = D-ELRK

[General]
atc_type=LARK
atc_model=L150
editable=1
performance="Cruise Speed\n117 kts\n\nEngine\n150 hp"

[WEIGHT_AND_BALANCE]
max_gross_weight   = 2300
empty_weight       = 1454
reference_datum_position = 0, 0, 0

[Hangarpak]
Hide2=lark150
)"));
  tree.file(f + "lark150.air", filler("Lark 150 flight model", 3000));
  tree.file(f + "lark150_check.txt", crlf("Lark 150 checklist\n\nBefore start: fuel on, mixture rich.\n"));
  tree.file(f + "model/model.cfg", crlf("[models]\nnormal=lark150\ninterior=lark150_vc\n"));
  tree.file(f + "model/lark150.mdl", filler("Lark 150 model", 2048));
  tree.file(f + "texture/lark150_t.bmp", texture(0xd0d8e8));
  tree.file(f + "texture/lark150_l.bmp", texture(0x203050));
  tree.file(f + "texture.floats/lark150_t.bmp", texture(0xe8c040));
  tree.file(f + "texture.club/lark150_t.bmp", texture(0x30a050));
  tree.file(f + "panel/panel.cfg", crlf(R"(// Lark 150 panel, 1024 and 640 wide

[Window Titles]
Window00=Main Panel
Window01=Radio Stack

//--------------------------------------------------------
[Window00]
file=lark_main.bmp
file_1024=lark_main_1024.bmp
size_mm=640
position=7
visible=1
ident=MAIN_PANEL

gauge00=LarkGauges!Airspeed,  12,38,90,90
gauge01=LarkGauges!Attitude,  104, 38, 90 ,90
gauge02=LarkGauges!Altimeter,  196,38,90,90
gauge03=LarkGauges!Tachometer, 300,140

[Window01]
file=lark_radio.bmp
position=2
gauge00=LarkGauges!Com Radio, 0,0,180,60

[Default View]
X=0
Y=0
SIZE_X=8192
SIZE_Y=2800
)"));
  tree.file(f + "panel/lark_main.bmp", bitmap(64, 24, 0x404048));
  tree.file(f + "panel/lark_main_1024.bmp", bitmap(96, 36, 0x404048));
  tree.file(f + "panel/lark_radio.bmp", bitmap(32, 12, 0x202020));
  tree.file(f + "sound/sound.cfg", crlf(R"(;/ Lark 150 sounds

[FLTSIM]
product_code=FSIM

[SOUND_ENGINE]
number_of_engines=1
ENG1_COMBUSTION=COMBUSTION.1.00
ENG1_STARTER=starter

[COMBUSTION.1.00]
filename=lark_eng
flags=0
viewpoint=1
rparams=0.006623,0.872340,0.635762,1.148936

[starter]
filename=lark_start
flags=0

[wind_sound]
filename=lark_wind
flags=1
)"));
  tree.file(f + "sound/lark_eng.wav", wave("lark_eng"));
  tree.file(f + "sound/lark_start.wav", wave("lark_start"));
  tree.file(f + "sound/lark_wind.wav", wave("lark_wind"));
  tree.contents().missingAircraftFiles.push_back("Aircraft\\Lark_150\\lark150_ref.txt");
  account(tree, {"Lark_150", 3, 1});
}

// A twin of two variants, the second already given the store's glass
// cockpit through an alias folder. Its visual model is left out (both
// variants use it) and so is a gauge of its panel; one engine sound lies in
// the simulator's shared sound folder.
void writeHeron(Tree& tree, const std::string& sim) {
  const std::string f = sim + "/Aircraft/Heron_Twin/";
  tree.file(f + "aircraft.cfg", crlf(R"(*********************************************************
Heron Twin, freeware light twin
*********************************************************

[fltsim.0]
title=Heron Twin
sim=heron
model=
panel=
sound=
texture=
kb_checklists=heron_check
atc_id=N417HT
ui_manufacturer="Heron"
ui_variation="Standard"

[fltsim.1]
title=Heron Twin Glass Panel
sim=heron
model=
panel=hgrpak1
sound=
texture=
kb_checklists=heron_check
atc_id=N418HT
ui_manufacturer="Heron"
ui_variation="Glass panel"

[General]
atc_type=HERON
atc_model=HT2
editable=1

[Hangarpak]
OrgPanel1=heron_twin\panel
OrgPanInt1=
)"));
  tree.file(f + "heron.air", filler("Heron Twin flight model", 4200));
  tree.file(f + "heron_check.txt", crlf("Heron Twin checklist\n"));
  tree.file(f + "model/model.cfg", crlf("[models]\nnormal=heron\n"));
  tree.file(f + "texture/heron_t.bmp", texture(0xf0f0f0));
  tree.file(f + "panel/panel.cfg", crlf(R"([Window Titles]
Window00=Main Panel

[Window00]
file=heron_panel.bmp
size_mm=800
visible=1
gauge00=LarkGauges!Airspeed,    20, 40, 90, 90
gauge01=LarkGauges!Attitude,   120, 40, 90, 90
gauge02=TwinStack!Nav Radio,   300, 10, 200, 60
)"));
  tree.file(f + "panel/heron_panel.bmp", bitmap(64, 24, 0x3a3a44));
  tree.file(f + "panel.hgrpak1/panel.cfg", crlf("[fltsim]\nalias=fsfsconv\\panel.glasscockpit\n"));
  tree.file(f + "sound/sound.cfg", crlf(R"([FLTSIM]
product_code=FSIM

[COMBUSTION.1.00]
filename=heron_eng
flags=0

[PROP.1.00]
filename=heron_prop
flags=0

[wind_sound]
filename=heron_wind
)"));
  tree.file(f + "sound/heron_eng.wav", wave("heron_eng"));
  tree.file(f + "sound/heron_wind.wav", wave("heron_wind"));
  tree.file(sim + "/Sound/heron_prop.wav", wave("heron_prop"));
  tree.contents().missingAircraftFiles.push_back("Aircraft\\Heron_Twin\\model\\heron.mdl");
  tree.contents().missingAircraftFiles.push_back("Aircraft\\Heron_Twin\\model\\heron.mdl");
  tree.contents().missingPanelFiles.push_back("Gauges\\TwinStack.gau (cab)");
  account(tree, {"Heron_Twin", 2, 0});
}

// A glider of two variants: the club colours' texture folder holds only a
// folder of thumbnails, the panel bitmap and a wind sound are left out.
void writePuffin(Tree& tree, const std::string& sim) {
  const std::string f = sim + "/Aircraft/Puffin_Glider/";
  tree.file(f + "aircraft.cfg", crlf(R"([fltsim.0]
title = Puffin Glider
sim = puffin
model =
panel =
sound =
texture =
checklists = puffin_check
ui_manufacturer = Puffin Sailplanes

[fltsim.1]
title = Puffin Glider Club Colours
sim = puffin
model =
panel =
sound =
texture = club
checklists = puffin_check
ui_manufacturer = Puffin Sailplanes

[General]
atc_type = PUFFIN
editable = 1
)"));
  tree.file(f + "puffin.air", filler("Puffin flight model", 2500));
  tree.file(f + "puffin_check.cfg", crlf("[Checklist.0]\nname=Before launch\n"));
  tree.file(f + "model/model.cfg", crlf("[models]\nnormal=puffin\n"));
  tree.file(f + "model/puffin.mdl", filler("Puffin model", 1024));
  tree.file(f + "texture/puffin_t.bmp", texture(0xffffff));
  tree.folder(f + "texture.club/thumbs");
  tree.file(f + "panel/panel.cfg", crlf(R"([Window Titles]
Window00=Glider Panel

[Window00]
file=puffin_panel.bmp
gauge00=LarkGauges!Airspeed, 10, 10, 80, 80
gauge01= GlassGauges!Compass, 100, 10, 80, 80
)"));
  tree.file(f + "sound/sound.cfg", crlf(R"([wind_sound]
filename=puffin_wind
flags=1

[creak]
filename=puffin_creak
)"));
  tree.file(f + "sound/puffin_creak.wav", wave("puffin_creak"));
  tree.contents().missingAircraftFiles.push_back("Aircraft\\Puffin_Glider\\texture.club\\*.*");
  tree.contents().missingPanelFiles.push_back("Aircraft\\Puffin_Glider\\panel\\puffin_panel.bmp");
  tree.contents().missingSoundFiles.push_back("Aircraft\\Puffin_Glider\\sound\\puffin_wind.wav");
  account(tree, {"Puffin_Glider", 2, 0});
}

// An amphibian of two variants, complete; its panel borrows the Lark's
// radio bitmap through a relative path.
void writeOsprey(Tree& tree, const std::string& sim) {
  const std::string f = sim + "/Aircraft/Osprey_Amphibian/";
  tree.file(f + "aircraft.cfg", crlf(R"(; Osprey Amphibian
; two liveries, one flight model

[fltsim.0]
title=Osprey Amphibian
sim=osprey
model=
panel=
sound=
texture=
atc_id=C-GOSP

[fltsim.1]
title=Osprey Amphibian Rescue
sim=osprey
model=
panel=
sound=
texture=rescue
atc_id=C-GRSQ

[General]
atc_type=OSPREY
)"));
  tree.file(f + "osprey.air", filler("Osprey flight model", 5000));
  tree.file(f + "model/model.cfg", crlf("[models]\nnormal=osprey\n"));
  tree.file(f + "model/osprey.mdl", filler("Osprey model", 1024));
  tree.file(f + "texture/osprey_t.bmp", texture(0xc03030));
  tree.file(f + "texture.rescue/osprey_t.bmp", texture(0xff8000));
  tree.file(f + "panel/panel.cfg", crlf(R"([Window Titles]
Window00=Main Panel
Window01=Radio

[Window00]
file=osprey_main.bmp
gauge00=LarkGauges!Airspeed, 10,10,80,80
gauge01=GlassGauges!EFIS, 100,10,160,120

[Window01]
file=..\..\Lark_150\panel\lark_radio.bmp
)"));
  tree.file(f + "panel/osprey_main.bmp", bitmap(64, 24, 0x505060));
  tree.file(f + "sound/sound.cfg",
            crlf("[COMBUSTION.1.00]\nfilename=osprey_eng, osprey_eng_alt\n\n[wind_sound]\nfilename=osprey_wind\n"));
  tree.file(f + "sound/osprey_eng.wav", wave("osprey_eng"));
  tree.file(f + "sound/osprey_wind.wav", wave("osprey_wind"));
  account(tree, {"Osprey_Amphibian", 2, 0});
}

// The store of separately installed panels and sounds, with display names.
void writeStore(Tree& tree, const std::string& sim) {
  const std::string s = sim + "/Aircraft/FSFSConv/";
  tree.file(s + "panel.glasscockpit/panel.cfg", crlf(R"([Window Titles]
Window00=Glass Cockpit

[Window00]
file=glass_day.bmp
gauge00=GlassGauges!EFIS,  0, 0, 320, 240
gauge01=GlassGauges!Compass, 330, 0, 80, 80

[Hangarpak]
Name=Glass Cockpit
)"));
  tree.file(s + "panel.glasscockpit/glass_day.bmp", bitmap(64, 48, 0x101828));
  tree.file(s + "sound.bigradial/sound.cfg", crlf(R"([COMBUSTION.1.00]
filename=big_radial
flags=0

[starter]
filename=big_radial_start

[Hangarpak]
Name=Big Radial
)"));
  tree.file(s + "sound.bigradial/big_radial.wav", wave("big_radial"));
  tree.file(s + "sound.bigradial/big_radial_start.wav", wave("big_radial_start"));
}

}  // namespace

void writeSimulator(Tree& tree, const Options& options) {
  const core::SimulatorInfo& info = *core::simulatorInfo(options.version);
  const std::string sim = tree.contents().simName;
  std::string exe(info.exe);
  for (char& c : exe) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  tree.file(sim + "/" + exe, "");
  for (const char* folder : {"Adv", "Aircraft/FSFSConv", "Gauges", "Scenery", "Situatio", "Sound", "Texture"})
    tree.folder(sim + "/" + folder);
  tree.file(sim + "/Gauges/LarkGauges.gau", filler("MZ gauge LarkGauges", 512));
  tree.file(sim + "/Gauges/GlassGauges.cab", filler("MSCF gauge cabinet GlassGauges", 512));
  tree.file(sim + "/Texture/sample_runway.bmp", texture(0x606060));
  tree.file(sim + "/Situatio/Sample Flight.stn", crlf("[Situation]\nTitle=Sample Flight\n"));

  writeLark(tree, sim);
  writeHeron(tree, sim);
  writePuffin(tree, sim);
  writeOsprey(tree, sim);
  writeStore(tree, sim);
  tree.contents().panels += HandMadeAircraft + 1;
  tree.contents().sounds += HandMadeAircraft + 1;

  // The version's own converter; FS2002 has none and refuses what needs it.
  if (options.version != 80) {
    const std::string name = options.version == 61 ? "aafconv98" : "aafconv";
    tree.program(sim + "/" + name + ".exe", standInProgram(options.standInInterpreter, "the Flight Shop converter"));
    tree.file(sim + "/" + name + ".cfg", crlf("; Flight Shop converter settings\n\n[Options]\nCopySounds=1\n"));
  }
}

}  // namespace sample
