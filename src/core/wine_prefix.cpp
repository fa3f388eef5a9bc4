#include "core/wine_prefix.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>

#include "core/app_state.h"
#include "core/atomic_file.h"
#include "core/context.h"
#include "core/environment.h"
#include "core/errors.h"
#include "core/simulator.h"
#include "core/text.h"

namespace core {

namespace {

bool isFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The entries of a folder, sorted so that the order of prefixes does not
// depend on the file system's.
std::vector<std::string> entries(const std::string& folder, bool foldersOnly) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!foldersOnly || isFolder(folder + "/" + name)) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The "prefix:" of a Lutris game file ("  prefix: /home/u/Games/fs2002").
std::optional<std::string> lutrisPrefix(const std::string& file, const std::string& home) {
  std::string text;
  try {
    text = readHostFile(file);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.rfind("prefix:", 0) != 0) continue;
    std::string value = trim(std::string_view(line).substr(7));
    if (!value.empty() && value.back() == '\r') value.pop_back();
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    if (value.rfind("~/", 0) == 0) value = home + value.substr(1);
    if (!value.empty()) return value;
  }
  return std::nullopt;
}

std::string withoutOuterBackslashes(std::string_view key) {
  std::string out;
  for (std::size_t pos = 0; pos <= key.size();) {
    auto end = key.find('\\', pos);
    if (end == std::string_view::npos) end = key.size();
    if (end > pos) {
      if (!out.empty()) out += '\\';
      out += key.substr(pos, end - pos);
    }
    pos = end + 1;
  }
  return out;
}

// The paths a 32-bit program's look-up of key goes through, in order.
std::vector<std::string> view32(std::string_view key) {
  const std::string path = withoutOuterBackslashes(key);
  if (istartsWith(path, "Software\\") && !istartsWith(path, "Software\\Wow6432Node"))
    return {"Software\\Wow6432Node" + path.substr(8), path};
  return {path};
}

// The key or a key below it has a line of its own in the text.
bool holdsKeyOrBelow(std::string_view text, std::string_view path) {
  const std::string wanted = lower(path);
  std::string name;
  for (std::size_t pos = text.find("\n["); pos != std::string_view::npos; pos = text.find("\n[", pos + 1)) {
    name.clear();
    for (std::size_t i = pos + 2; i < text.size() && text[i] != ']' && text[i] != '\n'; ++i) {
      // Key lines double each separator; other escapes cannot spell the
      // ASCII names looked for here.
      if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
      name += text[i];
      if (name.size() > wanted.size()) break;
    }
    if (name.size() >= wanted.size() && iequals(std::string_view(name).substr(0, wanted.size()), wanted) &&
        (name.size() == wanted.size() || name[wanted.size()] == '\\'))
      return true;
  }
  return false;
}

// The folder up to three levels below root (the system's own "windows"
// folder aside) that holds the executable, any case; breadth first.
std::optional<std::string> folderHolding(const std::string& root, std::string_view exe) {
  std::vector<std::string> level{root};
  for (int depth = 1; depth <= 3; ++depth) {
    std::vector<std::string> next;
    for (const auto& folder : level) {
      for (const auto& name : entries(folder, true)) {
        if (depth == 1 && iequals(name, "windows")) continue;
        const std::string sub = folder + "/" + name;
        for (const auto& file : entries(sub, false))
          if (iequals(file, exe) && isFile(sub + "/" + file)) return sub;
        next.push_back(sub);
      }
    }
    level = std::move(next);
  }
  return std::nullopt;
}

}  // namespace

std::vector<WinePrefix> findWinePrefixes(const Environment& env) {
  const std::string home = env.home();
  std::vector<WinePrefix> found;
  std::set<std::string> seen;
  auto consider = [&](std::string path, const char* origin) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty() || path[0] != '/') return;
    if (!isFile(path + "/system.reg") || !isFolder(path + "/dosdevices")) return;
    char resolved[PATH_MAX];
    const std::string real = ::realpath(path.c_str(), resolved) ? resolved : path;
    if (seen.insert(real).second) found.push_back({path, origin});
  };
  auto eachIn = [&](const std::string& folder, const char* origin, const char* below = "") {
    for (const auto& name : entries(folder, true)) consider(folder + "/" + name + below, origin);
  };

  if (auto prefix = env.get("WINEPREFIX"); prefix && !prefix->empty()) consider(*prefix, "WINEPREFIX");
  consider(home + "/.wine", "~/.wine");
  eachIn(home + "/.local/share/bottles/bottles", "Bottles");
  eachIn(home + "/.var/app/com.usebottles.bottles/data/bottles/bottles", "Bottles");
  const std::string lutrisGames = home + "/.config/lutris/games";
  for (const auto& name : entries(lutrisGames, false))
    if (iendsWith(name, ".yml"))
      if (auto prefix = lutrisPrefix(lutrisGames + "/" + name, home)) consider(*prefix, "Lutris");
  eachIn(home + "/Games", "Lutris");
  eachIn(home + "/.PlayOnLinux/wineprefix", "PlayOnLinux");
  eachIn(home + "/.steam/steam/steamapps/compatdata", "Proton", "/pfx");
  eachIn(home + "/.local/share/Steam/steamapps/compatdata", "Proton", "/pfx");
  return found;
}

PrefixRegistry::PrefixRegistry(std::string prefix, std::vector<std::string> hotKeys) {
  system_.file = prefix + "/system.reg";
  user_.file = std::move(prefix) + "/user.reg";
  for (const auto& key : hotKeys)
    for (auto& path : view32(key)) hotKeys_.push_back(std::move(path));
}

void PrefixRegistry::refresh(Hive& hive) {
  struct stat st;
  if (::stat(hive.file.c_str(), &st) != 0) {
    hive.keys.clear();
    hive.text.clear();
    hive.size = -1;
    return;
  }
  if (st.st_mtim.tv_sec == hive.mtime && st.st_mtim.tv_nsec == hive.mtimeNs && st.st_size == hive.size) return;
  hive.keys.clear();
  hive.mtime = st.st_mtim.tv_sec;
  hive.mtimeNs = st.st_mtim.tv_nsec;
  hive.size = st.st_size;
  try {
    hive.text = readHostFile(hive.file);
  } catch (const RuntimeError&) {
    hive.text.clear();  // an unreadable file holds no keys
  }
  if (&hive != &system_ || hotKeys_.empty()) return;
  auto file = winereg::parseKeys(hive.text, hotKeys_);
  for (const auto& path : hotKeys_) {
    const winereg::Key* found = file.key(path);
    hive.keys.emplace(lower(path), found ? std::optional<winereg::Key>(*found) : std::nullopt);
  }
}

const winereg::Key* PrefixRegistry::key(Hive& hive, const std::string& path) {
  const std::string id = lower(path);
  auto it = hive.keys.find(id);
  if (it == hive.keys.end()) {
    const std::string wanted[] = {path};
    auto file = winereg::parseKeys(hive.text, wanted);
    std::optional<winereg::Key> found;
    if (!file.keys.empty()) found = std::move(file.keys.front());
    it = hive.keys.emplace(id, std::move(found)).first;
  }
  return it->second ? &*it->second : nullptr;
}

const winereg::Key* PrefixRegistry::machineKey(std::string_view path) {
  refresh(system_);
  for (const auto& candidate : view32(path))
    if (const auto* k = key(system_, candidate)) return k;
  return nullptr;
}

std::optional<std::string> PrefixRegistry::machineValue(std::string_view path, std::string_view name) {
  const auto* k = machineKey(path);
  const auto* v = k ? k->value(name) : nullptr;
  if (!v) return std::nullopt;
  return v->data;
}

bool PrefixRegistry::machineKeyExists(std::string_view path) {
  if (machineKey(path)) return true;
  for (const auto& candidate : view32(path))
    if (holdsKeyOrBelow(system_.text, candidate)) return true;
  return false;
}

std::optional<std::string> PrefixRegistry::userValue(std::string_view path, std::string_view name) {
  refresh(user_);
  const auto* k = key(user_, withoutOuterBackslashes(path));
  const auto* v = k ? k->value(name) : nullptr;
  if (!v) return std::nullopt;
  return v->data;
}

WinePrefixes::WinePrefixes(std::vector<WinePrefix> found) : prefixes_(std::move(found)) {
  std::vector<std::string> simulatorKeys;
  for (int version : {simver::FS2002, simver::FS2000, simver::FS98})
    simulatorKeys.emplace_back(simulatorInfo(version)->key);
  for (const auto& p : prefixes_) registries_.push_back(std::make_unique<PrefixRegistry>(p.path, simulatorKeys));
}

std::optional<std::size_t> WinePrefixes::registeredFor(int version) {
  const SimulatorInfo* sim = simulatorInfo(version);
  if (!sim) return std::nullopt;
  for (std::size_t i = 0; i < prefixes_.size(); ++i) {
    auto marker = registries_[i]->machineValue(sim->key, sim->markerValue);
    if (marker && !marker->empty()) return i;
  }
  return std::nullopt;
}

std::optional<std::string> WinePrefixes::executableFolderFor(int version) {
  const SimulatorInfo* sim = simulatorInfo(version);
  if (!sim) return std::nullopt;
  for (const auto& p : prefixes_)
    if (auto folder = folderHolding(p.path + "/drive_c", sim->exe)) return folder;
  return std::nullopt;
}

const WinePrefix* WinePrefixes::choose(int version) {
  chosen_ = registeredFor(version);
  for (int newest : {simver::FS2002, simver::FS2000, simver::FS98})
    if (!chosen_ && !simulatorInfo(version)) chosen_ = registeredFor(newest);
  return simulator();
}

void UseSimulatorPrefix(Context& ctx, int version) {
  if (!ctx.winePrefixes) return;
  const WinePrefix* prefix = ctx.winePrefixes->choose(version);
  if (prefix && ctx.drives.takePrefix(prefix->path)) {
    ctx.drives.reach(ctx.locations.appFolder);
    ctx.refreshAppFolder();
  }
}

std::string PathInPrefix(Context& ctx, std::string_view windowsPath) {
  const WinePrefix* prefix = ctx.winePrefixes ? ctx.winePrefixes->simulator() : nullptr;
  if (!prefix) return std::string(windowsPath);
  try {
    const std::string host = ctx.drives.toHost(windowsPath);
    auto inPrefix = DriveTable::fromPrefix(prefix->path).toWindows(host);
    if (!inPrefix) return std::string(windowsPath);
    // A folder the caller gave with its trailing backslash keeps it.
    if (!windowsPath.empty() && windowsPath.back() == '\\' && inPrefix->back() != '\\') *inPrefix += '\\';
    return *inPrefix;
  } catch (const RuntimeError&) {
    return std::string(windowsPath);
  }
}

std::string PathFromPrefix(Context& ctx, std::string_view prefixPath) {
  const WinePrefix* prefix = ctx.winePrefixes ? ctx.winePrefixes->simulator() : nullptr;
  if (!prefix) return std::string(prefixPath);
  try {
    const std::string host = DriveTable::fromPrefix(prefix->path).toHost(prefixPath);
    auto ours = ctx.drives.toWindows(host);
    if (!ours) return std::string(prefixPath);
    if (!prefixPath.empty() && prefixPath.back() == '\\' && ours->back() != '\\') *ours += '\\';
    return *ours;
  } catch (const RuntimeError&) {
    return std::string(prefixPath);
  }
}

}  // namespace core
