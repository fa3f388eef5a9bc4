#include "core/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "core/environment.h"
#include "core/errors.h"
#include "core/name_fold.h"
#include "core/settings.h"
#include "core/text.h"

namespace core {

namespace {

bool hostIsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string joinHost(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// An absolute host path in lexical normal form: doubled "/" and "." dropped,
// ".." folded (never above "/"), no trailing "/". Relative paths are left
// as they are, as no drive can hold them.
std::string normalizeHostPath(std::string_view path) {
  if (path.empty() || path[0] != '/') return std::string(path);
  std::vector<std::string_view> parts;
  std::size_t start = 1;
  while (start <= path.size()) {
    auto end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    auto part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (auto part : parts) {
    out += '/';
    out += part;
  }
  return out.empty() ? "/" : out;
}

// Calls visit with each name between the separators of the part after
// "X:" ("\\" or "/"), leaving out empty ones and ".": views into rest.
template <class Visit>
void forEachName(std::string_view rest, Visit&& visit) {
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != '\\' && rest[end] != '/') ++end;
    const std::string_view part = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!part.empty() && part != ".") visit(part);
  }
}

// Components of the part after "X:", with "." and ".." folded; views into
// rest.
std::vector<std::string_view> components(std::string_view rest) {
  std::vector<std::string_view> parts;
  parts.reserve(16);
  forEachName(rest, [&](std::string_view part) {
    if (part != "..")
      parts.push_back(part);
    else if (!parts.empty())
      parts.pop_back();
  });
  return parts;
}

// Calls visit with each component of the part after "X:", as components()
// gives them. A path with no ".." to fold, as nearly every path is, is
// taken in place, without a list of its components.
template <class Visit>
void forEachComponent(std::string_view rest, Visit&& visit) {
  if (rest.find("..") == std::string_view::npos) return forEachName(rest, visit);
  for (const std::string_view part : components(rest)) visit(part);
}

void addDosDevices(DriveTable& table, const std::string& prefix) {
  const std::string dosdevices = prefix + "/dosdevices";
  DIR* dir = ::opendir(dosdevices.c_str());
  if (!dir) return;
  while (dirent* e = ::readdir(dir)) {
    std::string_view name(e->d_name);
    if (name.size() != 2 || name[1] != ':') continue;
    char letter = lower(name.substr(0, 1))[0];
    if (letter < 'a' || letter > 'z') continue;
    char target[4096];
    const std::string link = dosdevices + "/" + std::string(name);
    ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) continue;
    std::string t(target, static_cast<std::size_t>(n));
    if (t.empty()) continue;
    if (t[0] != '/') t = dosdevices + "/" + t;
    // A link to a folder that is gone (an unmounted disk) still names the
    // drive; it is then merely unavailable.
    char resolved[PATH_MAX];
    t = ::realpath(t.c_str(), resolved) ? std::string(resolved) : normalizeHostPath(t);
    table.set(letter, t, "wine prefix");
  }
  ::closedir(dir);
}

}  // namespace

bool isNormalWindowsPath(std::string_view windowsPath) {
  if (windowsPath.size() < 3 || windowsPath[0] < 'A' || windowsPath[0] > 'Z' || windowsPath[1] != ':' ||
      windowsPath[2] != '\\')
    return false;
  // The drive root alone, or components after "X:\" each followed by one
  // "\" or the end, none of them "." or "..", and no "/": the separators are
  // found by memchr's wide steps rather than byte by byte.
  if (windowsPath.find('/') != std::string_view::npos) return false;
  if (windowsPath.size() == 3) return true;
  for (std::size_t start = 3;;) {
    const std::size_t end = windowsPath.find('\\', start);
    const std::string_view part = windowsPath.substr(start, end == std::string_view::npos ? end : end - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

std::string normalizeWindowsPath(std::string_view windowsPath) {
  // Most paths the program builds are in that form already.
  if (isNormalWindowsPath(windowsPath)) return std::string(windowsPath);
  if (windowsPath.size() < 2 || windowsPath[1] != ':') {
    std::string out(windowsPath);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
  }
  std::string out;
  out.reserve(windowsPath.size() + 1);
  out += upper(windowsPath.substr(0, 1));
  out += ":\\";
  const auto parts = components(windowsPath.substr(2));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  return out;
}

bool DiskFolderNames::enterRoot(const std::string& hostRoot) {
  return hostIsFolder(hostRoot);
}

std::optional<std::string> DiskFolderNames::spelling(const std::string& hostFolder, const std::string& name) {
  struct stat st;
  if (::lstat(joinHost(hostFolder, name).c_str(), &st) == 0) return name;
  DIR* dir = ::opendir(hostFolder.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> found;
  while (dirent* e = ::readdir(dir)) {
    const std::string_view entry(e->d_name);
    if (entry == name) {
      found = name;
      break;
    }
    if (namesMatch(entry, name) && (!found || entry < *found)) found = std::string(entry);
  }
  ::closedir(dir);
  return found;
}

void DriveTable::set(char letter, std::string hostRoot, std::string source) {
  letter = lower(std::string(1, letter))[0];
  hostRoot = normalizeHostPath(hostRoot);
  auto it = std::find_if(drives_.begin(), drives_.end(), [&](const DriveMapping& d) { return d.letter == letter; });
  if (it != drives_.end()) {
    it->hostRoot = std::move(hostRoot);
    it->source = std::move(source);
    return;
  }
  drives_.push_back({letter, std::move(hostRoot), std::move(source)});
  std::sort(drives_.begin(), drives_.end(),
            [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
}

const DriveMapping* DriveTable::driveOf(char letter) const {
  letter = lowerChar(letter);
  const auto drive =
      std::find_if(drives_.begin(), drives_.end(), [&](const DriveMapping& d) { return d.letter == letter; });
  return drive == drives_.end() ? nullptr : &*drive;
}

std::optional<std::string> DriveTable::hostRoot(char letter) const {
  const DriveMapping* drive = driveOf(letter);
  return drive ? std::optional(drive->hostRoot) : std::nullopt;
}

bool DriveTable::available(char letter) const {
  auto root = hostRoot(letter);
  return root && hostIsFolder(*root);
}

DriveTable DriveTable::fromEnvironment(const Environment& env, SettingsStore* settings) {
  DriveTable table;
  // A relative root would make every path depend on the working folder.
  auto add = [&](char letter, const std::string& root, const std::string& source) {
    if (!root.empty() && root[0] == '/') table.set(letter, root, source);
  };
  auto parse = [&](std::string_view spec, const std::string& source) {
    std::size_t start = 0;
    while (start < spec.size()) {
      auto end = spec.find(';', start);
      if (end == std::string_view::npos) end = spec.size();
      const std::string_view item = spec.substr(start, end - start);
      const auto eq = item.find('=');
      if (eq != std::string_view::npos) {
        const std::string letter = trim(item.substr(0, eq));
        if (letter.size() == 1 && std::isalpha(static_cast<unsigned char>(letter[0])))
          add(letter[0], trim(item.substr(eq + 1)), source);
      }
      start = end + 1;
    }
  };
  if (auto spec = env.get("HANGARPAK_DRIVES"); spec && !spec->empty()) {
    parse(*spec, "HANGARPAK_DRIVES");
    if (!table.drives().empty()) return table;
  }
  if (settings) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
      auto root = settings->get("Hangarpak", "Drives", std::string(1, letter), "");
      add(letter, trim(root), "settings");
    }
    if (!table.drives().empty()) return table;
  }
  const std::string prefix = env.getOr("WINEPREFIX", env.home() + "/.wine");
  if (hostIsFolder(prefix + "/dosdevices")) {
    addDosDevices(table, prefix);
    if (!table.drives().empty()) return table;
  }
  table.set('c', env.home(), "default");
  table.set('z', "/", "default");
  return table;
}

void DriveTable::reach(const std::string& hostFolder) {
  if (toWindows(hostFolder)) return;
  for (char letter = 'z'; letter >= 'd'; --letter) {
    if (!hostRoot(letter)) {
      set(letter, "/", "default");
      return;
    }
  }
}

DriveTable DriveTable::fromPrefix(const std::string& prefix) {
  DriveTable table;
  addDosDevices(table, prefix);
  return table;
}

bool DriveTable::takePrefix(const std::string& prefix) {
  for (const auto& d : drives_)
    if (d.source != "wine prefix" && d.source != "default") return false;
  DriveTable taken = fromPrefix(prefix);
  if (taken.drives_.empty()) return false;
  auto same = [](const DriveMapping& a, const DriveMapping& b) {
    return a.letter == b.letter && a.hostRoot == b.hostRoot && a.source == b.source;
  };
  if (std::equal(drives_.begin(), drives_.end(), taken.drives_.begin(), taken.drives_.end(), same)) return false;
  drives_ = std::move(taken.drives_);
  return true;
}

std::string DriveTable::toHost(std::string_view windowsPath) const {
  DiskFolderNames disk;
  return toHost(windowsPath, disk);
}

std::string DriveTable::toHost(std::string_view windowsPath, FolderNames& names) const {
  return resolve(windowsPath, names).host;
}

DriveTable::Resolved DriveTable::resolve(std::string_view windowsPath, FolderNames& names) const {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
    throw RuntimeError(err::BadFileName, "Bad file name: " + std::string(windowsPath));
  const DriveMapping* drive = driveOf(windowsPath[0]);
  if (!drive)
    throw RuntimeError(err::DeviceUnavailable, "no drive " + upper(windowsPath.substr(0, 1)) +
                                                   ": in the drive table for " + std::string(windowsPath));
  Resolved out;
  std::string& host = out.host;
  host.reserve(drive->hostRoot.size() + windowsPath.size() + 1);
  host = drive->hostRoot;
  bool onDisk = names.enterRoot(host);
  forEachComponent(windowsPath.substr(2), [&](std::string_view part) {
    if (part.find('\0') != std::string::npos || part.size() > 255)
      throw RuntimeError(err::BadFileName, "Bad file name: " + std::string(windowsPath));
    FolderNames::Lookup found;
    if (onDisk) {
      found = names.look(host, std::string(part));
      onDisk = found.name.has_value();
      out.absent = found.absent;
    }
    out.type = found.type;
    if (host != "/") host += '/';
    host += found.name ? std::string_view(*found.name) : part;
  });
  return out;
}

std::optional<std::string> DriveTable::toWindows(std::string_view hostPath) const {
  const std::string path = normalizeHostPath(hostPath);
  const DriveMapping* best = nullptr;
  for (const auto& d : drives_) {
    const bool holds = d.hostRoot == "/" ? !path.empty() && path[0] == '/'
                                         : path == d.hostRoot || path.rfind(d.hostRoot + "/", 0) == 0;
    if (holds && (!best || d.hostRoot.size() > best->hostRoot.size())) best = &d;
  }
  if (!best) return std::nullopt;
  std::string rest =
      best->hostRoot == "/" ? path.substr(1) : path.substr(std::min(path.size(), best->hostRoot.size() + 1));
  std::replace(rest.begin(), rest.end(), '/', '\\');
  return upper(std::string(1, best->letter)) + ":\\" + rest;
}

}  // namespace core
