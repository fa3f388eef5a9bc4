#include "journal/installed_archives.h"

#include "core/errors.h"
#include "journal/recorder.h"
#include "journal/store.h"

namespace journal {

void InstalledArchives::reload(const std::string& appFolder) {
  hashesBySize_.clear();
  try {
    if (const auto store = openExistingJournal(appFolder))
      for (auto& print : store->installedArchives()) hashesBySize_[print.size].insert(std::move(print.hash));
  } catch (const core::RuntimeError&) {
    hashesBySize_.clear();
  }
}

bool InstalledArchives::installed(const std::string& hostPath) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(hostPath, ec);
  if (ec) return false;
  const auto sameSize = hashesBySize_.find(size);
  if (sameSize == hashesBySize_.end()) return false;
  const auto time = std::filesystem::last_write_time(hostPath, ec);
  if (ec) return false;
  auto known = read_.find(hostPath);
  if (known == read_.end() || known->second.size != size || known->second.time != time) {
    try {
      const std::string hash = hashHostFile(hostPath).second;
      ++filesHashed_;
      known = read_.insert_or_assign(hostPath, Read{size, time, hash}).first;
    } catch (const core::RuntimeError&) {
      return false;
    }
  }
  return sameSize->second.contains(known->second.hash);
}

}  // namespace journal
