#include "install/variant_folders.h"

#include <algorithm>

#include "core/text.h"

namespace install {

namespace {

bool isVariant(std::string_view folder) {
  for (std::string_view kind : {"texture.", "model.", "panel.", "sound."})
    if (folder.size() > kind.size() && core::istartsWith(folder, kind)) return true;
  return false;
}

}  // namespace

std::optional<std::string> VariantFolderOf(std::string_view folderBelowAircraft) {
  std::optional<std::size_t> from;
  for (std::size_t start = 0; start <= folderBelowAircraft.size();) {
    const std::size_t end = std::min(folderBelowAircraft.find('\\', start), folderBelowAircraft.size());
    if (isVariant(folderBelowAircraft.substr(start, end - start))) from = start;
    start = end + 1;
  }
  if (!from) return std::nullopt;
  return std::string(folderBelowAircraft.substr(*from));
}

}  // namespace install
