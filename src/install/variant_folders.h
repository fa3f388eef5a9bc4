#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace install {

// Where in an aircraft's folder a member of a variant folder goes, by its
// folders below the aircraft's folder of the archive: from the deepest of
// them named texture.X, model.X, panel.X or sound.X (in any case, X not
// empty; the folders that aircraft.cfg names with texture=X and the like)
// on, as the archive spells them ("texture.red", "Panel.Night\hud").
// nullopt for a member in no variant folder: plain texture, model, panel
// and sound folders are no variants, and their files go by their names.
std::optional<std::string> VariantFolderOf(std::string_view folderBelowAircraft);

}  // namespace install
