#pragma once

#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/wine_reg.h"

namespace core {

class Environment;
class Context;

// A Wine prefix: a folder with system.reg, user.reg, dosdevices/ and drive_c/.
struct WinePrefix {
  std::string path;    // host folder, no trailing "/"
  std::string origin;  // where it was found: "WINEPREFIX", "~/.wine", "Bottles", "Lutris", "PlayOnLinux", "Proton"
};

// The prefixes of the usual places, in this order, each once: $WINEPREFIX,
// ~/.wine, Bottles (native and Flatpak), Lutris (the "prefix:" of each game
// file, then ~/Games/*), PlayOnLinux, Steam's Proton. A folder counts when it
// holds system.reg and dosdevices/. Never starts Wine.
std::vector<WinePrefix> findWinePrefixes(const Environment& env);

// A prefix's registry files, read-only. Each look-up reads only the lines of
// the keys it needs; what was read is kept until the file changes.
class PrefixRegistry {
 public:
  // hotKeys: machine keys read together in one pass whenever system.reg is
  // (re)read, as detection asks for all of them.
  explicit PrefixRegistry(std::string prefix, std::vector<std::string> hotKeys = {});

  // HKEY_LOCAL_MACHINE (system.reg) as a 32-bit program sees it: a key below
  // Software is looked for under Software\Wow6432Node first, then under
  // Software itself. nullopt when the key or the value is absent.
  std::optional<std::string> machineValue(std::string_view key, std::string_view name);
  // The key, or a key below it, is there (in either view).
  bool machineKeyExists(std::string_view key);
  // HKEY_CURRENT_USER (user.reg).
  std::optional<std::string> userValue(std::string_view key, std::string_view name);

 private:
  struct Hive {
    std::string file;
    std::time_t mtime = 0;
    long mtimeNs = -1;
    long long size = -1;
    std::string text;
    std::map<std::string, std::optional<winereg::Key>> keys;  // by lower-case path
  };
  void refresh(Hive& hive);
  const winereg::Key* key(Hive& hive, const std::string& path);
  const winereg::Key* machineKey(std::string_view key);

  Hive system_;
  Hive user_;
  std::vector<std::string> hotKeys_;  // both views of each
};

// The prefixes found at start-up and the one the simulator lives in.
class WinePrefixes {
 public:
  explicit WinePrefixes(std::vector<WinePrefix> found);

  const std::vector<WinePrefix>& all() const { return prefixes_; }
  PrefixRegistry& registry(std::size_t index) { return *registries_[index]; }

  // The first prefix whose registry names the version installed: its key
  // with a non-empty marker value.
  std::optional<std::size_t> registeredFor(int version);
  // The first prefix whose drive_c holds the version's executable up to
  // three folder levels deep, any case: the folder holding it, as a host path.
  std::optional<std::string> executableFolderFor(int version);

  // The simulator's prefix: the one registered for the version (for a
  // version not chosen yet, the newest registered anywhere); nullptr when
  // none is.
  const WinePrefix* choose(int version);
  const WinePrefix* simulator() const { return chosen_ ? &prefixes_[*chosen_] : nullptr; }
  PrefixRegistry* simulatorRegistry() { return chosen_ ? registries_[*chosen_].get() : nullptr; }

 private:
  std::vector<WinePrefix> prefixes_;
  std::vector<std::unique_ptr<PrefixRegistry>> registries_;
  std::optional<std::size_t> chosen_;
};

// Points the program at the simulator's prefix for the version: the
// drive table takes its dosdevices (unless drives were set explicitly) and
// the application folder's Windows path follows. Does nothing without
// prefixes.
void UseSimulatorPrefix(Context& ctx, int version);

// A Windows path of the program's drive table as the simulator's prefix
// names the same file ("Z:\home\u\x" when only z: holds it); the path as it
// is when there is no prefix or no drive of it holds the file.
std::string PathInPrefix(Context& ctx, std::string_view windowsPath);
// The reverse: a path the prefix's programs or registry give, in the
// program's own drive table.
std::string PathFromPrefix(Context& ctx, std::string_view prefixPath);

}  // namespace core
