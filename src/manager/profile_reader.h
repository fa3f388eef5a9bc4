#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/profile.h"
#include "manager/catalogue.h"

namespace manager {

// The profile reads of one configuration file, each with its explicit
// default: either every key through ReadProfileString, or the file parsed
// once on the first read and every key answered from that parse. Both use
// the one profile parser, so they answer alike.
class ProfileReader {
 public:
  ProfileReader(core::Context& ctx, std::string file, ProfileReads reads)
      : ctx_(ctx), file_(std::move(file)), reads_(reads) {}

  std::string get(std::string_view section, std::string_view key, std::string_view def);
  const std::string& file() const { return file_; }

 private:
  core::Context& ctx_;
  std::string file_;
  ProfileReads reads_;
  std::optional<core::profile::Document> doc_;
};

}  // namespace manager
