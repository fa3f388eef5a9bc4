#include "manager/profile_reader.h"

namespace manager {

std::string ProfileReader::get(std::string_view section, std::string_view key, std::string_view def) {
  if (reads_ == ProfileReads::KeyByKey) return core::ReadProfileString(ctx_, file_, section, key, def);
  if (!doc_) doc_ = core::ReadProfileDocument(ctx_, file_);
  auto value = doc_->get(section, key);
  return value ? *value : std::string(def);
}

}  // namespace manager
