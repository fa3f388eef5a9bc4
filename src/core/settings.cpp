#include "core/settings.h"

#include <cerrno>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/profile.h"

namespace core {

// The settings files are UTF-8 and parsed like the simulator's files, but
// without the 199-character cut: folder settings can be long.
namespace {
constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
}

IniSettingsStore::IniSettingsStore(std::string configHome) : configHome_(std::move(configHome)) {}

std::string IniSettingsStore::fileFor(std::string_view app) const {
  return configHome_ + "/" + std::string(app) + "/settings.ini";
}

std::string IniSettingsStore::get(std::string_view app, std::string_view section, std::string_view key,
                                  std::string_view def) {
  std::string bytes;
  try {
    bytes = readHostFile(fileFor(app));
  } catch (const RuntimeError&) {
    return std::string(def);  // no settings yet, or unreadable: the defaults hold
  }
  auto value = profile::lookup(bytes, section, key, kNoLimit);
  return value ? *value : std::string(def);
}

void IniSettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
  const std::string file = fileFor(app);
  std::string bytes;
  try {
    bytes = readHostFile(file);
  } catch (const RuntimeError& e) {
    // Only a missing file starts afresh; an unreadable one must not be
    // replaced by a file holding this one setting.
    if (e.sysErrno() != ENOENT) throw;
    makeHostFolders(configHome_ + "/" + std::string(app));
  }
  const std::string updated = profile::withValue(bytes, section, key, profile::storedForm(value));
  if (updated != bytes || bytes.empty()) writeFileAtomically(file, updated);
}

}  // namespace core
