#pragma once

#include <string>

namespace testsupport {

// Writes a generated aircraft folder below hostAircraftFolder (a host
// path): `folders` aircraft folders, each with an aircraft.cfg of
// `variantsPerFolder` variants, its own panel\panel.cfg and
// sound\sound.cfg. Titles do not follow the folder order, so a sorted
// catalogue inserts all over. For the catalogue and scan benchmarks and the
// tests that compare whole catalogues.
void writeAircraftTree(const std::string& hostAircraftFolder, int folders, int variantsPerFolder);

// The name the generator gives a folder.
std::string generatedFolderName(int folder);

}  // namespace testsupport
