#include "support/aircraft_tree.h"

#include <cstdio>
#include <vector>

#include "support/fs_configs.h"
#include "support/temp_dir.h"

namespace testsupport {

std::string generatedFolderName(int folder) {
  char name[32];
  std::snprintf(name, sizeof name, "Plane_%05d", folder);
  return name;
}

namespace {
std::string generatedTitle(int folder, int variant) {
  // A fixed permutation of the folder numbers (7919 is prime).
  char title[64];
  std::snprintf(title, sizeof title, "Model %05d variant %d", (folder * 7919) % 100003, variant);
  return title;
}
}  // namespace

void writeAircraftTree(const std::string& hostAircraftFolder, int folders, int variantsPerFolder) {
  for (int f = 0; f < folders; ++f) {
    const std::string folder = hostAircraftFolder + "/" + generatedFolderName(f);
    std::vector<Variant> variants;
    for (int v = 0; v < variantsPerFolder; ++v) {
      Variant variant;
      variant.title = generatedTitle(f, v);
      variant.texture = v == 0 ? "" : std::to_string(v);
      if (v % 2 == 1) variant.sim.clear();  // some hidden ones
      variants.push_back(variant);
    }
    writeHostFile(folder + "/aircraft.cfg", aircraftCfg(variants));
    writeHostFile(folder + "/panel/panel.cfg", panelCfg());
    writeHostFile(folder + "/sound/sound.cfg", soundCfg());
  }
}

}  // namespace testsupport
