#pragma once

#include <string>
#include <unordered_map>

#include "core/profile.h"

namespace manager {

// The aircraft.cfg of each aircraft folder as the catalogue's walk parsed
// it, by the folder (with trailing "\"): the file that the folder's path and
// "aircraft.cfg" lead to. A scan that follows the walk in the same run, on a
// tree nothing else changes meanwhile, takes them rather than read and
// parse each file again. A file the walk could not read is not kept.
class ParsedAircraftConfigs {
 public:
  void keep(std::string folder, core::profile::Document document) {
    documents_.insert_or_assign(std::move(folder), std::move(document));
  }
  // The document of the folder's aircraft.cfg; nullptr when none was kept.
  const core::profile::Document* of(const std::string& folder) const {
    const auto it = documents_.find(folder);
    return it == documents_.end() ? nullptr : &it->second;
  }

 private:
  std::unordered_map<std::string, core::profile::Document> documents_;
};

}  // namespace manager
