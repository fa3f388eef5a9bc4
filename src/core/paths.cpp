#include "core/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "core/environment.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/text.h"

namespace core {

namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

bool hostExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool hostIsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The lower-case form of one Latin letter of the simulator's code page
// (Latin-1 and Latin Extended-A, which hold every letter of Windows-1252),
// as the simulator's file system folds it; other code points unchanged.
char32_t foldLatin(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return c + 1;
  return c;
}

// Next code point of UTF-8 text; a byte that starts no valid two-byte
// sequence stands for itself, so any name compares, encoded or not.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if ((b & 0xE0) == 0xC0 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
    const char32_t c = (char32_t(b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
    i += 2;
    return c;
  }
  ++i;
  return b < 0x80 ? char32_t(b) : char32_t(0x110000 + b);
}

// Names equal without regard to case, letters beyond ASCII included.
bool namesMatch(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (foldLatin(nextCodePoint(a, i)) != foldLatin(nextCodePoint(b, j))) return false;
  return i == a.size() && j == b.size();
}

// The entry of folder whose name equals name without regard to case; an
// exact match wins, and among several that differ only in case the first in
// byte order, so that the same path always resolves to the same file. Empty
// when there is none.
std::string findEntry(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return {};
  std::string found;
  while (dirent* e = ::readdir(dir)) {
    std::string_view entry(e->d_name);
    if (entry == name) {
      found = name;
      break;
    }
    if (namesMatch(entry, name) && (found.empty() || entry < found)) found = std::string(entry);
  }
  ::closedir(dir);
  return found;
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

// Components of the part after "X:", with "." and ".." folded.
std::vector<std::string> components(std::string_view rest) {
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&] {
    if (current.empty() || current == ".") {
    } else if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(current);
    }
    current.clear();
  };
  for (char c : rest) {
    if (isSeparator(c))
      flush();
    else
      current += c;
  }
  flush();
  return parts;
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

std::string normalizeWindowsPath(std::string_view windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':') {
    std::string out(windowsPath);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
  }
  std::string out = upper(windowsPath.substr(0, 1)) + ":\\";
  auto parts = components(windowsPath.substr(2));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '\\';
    out += parts[i];
  }
  return out;
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

std::optional<std::string> DriveTable::hostRoot(char letter) const {
  letter = lower(std::string(1, letter))[0];
  for (const auto& d : drives_)
    if (d.letter == letter) return d.hostRoot;
  return std::nullopt;
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
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
    throw RuntimeError(err::BadFileName, "Bad file name: " + std::string(windowsPath));
  auto root = hostRoot(windowsPath[0]);
  if (!root)
    throw RuntimeError(err::DeviceUnavailable, "no drive " + upper(windowsPath.substr(0, 1)) +
                                                   ": in the drive table for " + std::string(windowsPath));
  std::string host = *root;
  bool onDisk = hostIsFolder(host);
  for (const auto& part : components(windowsPath.substr(2))) {
    if (part.find('\0') != std::string::npos || part.size() > 255)
      throw RuntimeError(err::BadFileName, "Bad file name: " + std::string(windowsPath));
    if (onDisk) {
      const std::string exact = joinHost(host, part);
      if (hostExists(exact)) {
        host = exact;
        continue;
      }
      std::string found = findEntry(host, part);
      if (!found.empty()) {
        host = joinHost(host, found);
        continue;
      }
      onDisk = false;
    }
    host = joinHost(host, part);
  }
  return host;
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
