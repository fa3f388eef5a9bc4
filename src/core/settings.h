#pragma once

#include <string>
#include <string_view>

namespace core {

// The per-user settings store: string values by application name, section
// and key; an absent key reads as the default the caller passes.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string get(std::string_view app, std::string_view section, std::string_view key,
                          std::string_view def) = 0;
  virtual void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) = 0;
};

// $XDG_CONFIG_HOME/<application name>/settings.ini, one file per application
// name, written atomically. configHome is a host folder.
class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string configHome);
  std::string get(std::string_view app, std::string_view section, std::string_view key, std::string_view def) override;
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
  std::string fileFor(std::string_view app) const;

 private:
  std::string configHome_;
};

}  // namespace core
