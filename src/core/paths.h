#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class Environment;
class SettingsStore;

// How a resolution learns the names on disk. One resolution calls
// enterRoot once with the drive's folder, then spelling for each component
// in turn, as long as the components exist.
class FolderNames {
 public:
  virtual ~FolderNames() = default;
  // True when the host folder of a drive is a folder on disk.
  virtual bool enterRoot(const std::string& hostRoot) = 0;
  // The entry of a host folder whose name equals name without regard to
  // case: name itself when it is there, otherwise the first in byte order of
  // those that match, so that the same path always resolves to the same
  // file. Nothing when no entry matches or the folder cannot be read.
  virtual std::optional<std::string> spelling(const std::string& hostFolder, const std::string& name) = 0;
  // spelling(), and whether the name is known not to be there: the folder's
  // names are held, and none matches. Without that knowledge, a name not
  // found may still be there to one who looks on disk.
  // What a listing told of an entry: a plain file or a folder, or nothing
  // sure (a link, another kind, or a file system that does not say).
  enum class Type : std::uint8_t { Unknown, PlainFile, Folder };
  struct Lookup {
    std::optional<std::string> name;
    bool absent = false;
    Type type = Type::Unknown;
  };
  virtual Lookup look(const std::string& hostFolder, const std::string& name) {
    return {spelling(hostFolder, name), false};
  }
};

// Asks the disk every time: one lstat of the name, and when that is not
// there, a listing of the folder.
class DiskFolderNames : public FolderNames {
 public:
  bool enterRoot(const std::string& hostRoot) override;
  std::optional<std::string> spelling(const std::string& hostFolder, const std::string& name) override;
};

// One drive letter and the host folder it stands for.
struct DriveMapping {
  char letter = 'c';     // lower case
  std::string hostRoot;  // absolute host folder, no trailing slash ("/" for the root)
  std::string source;    // where it came from: "HANGARPAK_DRIVES", "settings", "wine prefix", "default"
};

// Maps Windows-style paths ("C:\FS2002\Aircraft\x.cfg") to host paths and
// back. This is the only place that turns a program path into a host path.
class DriveTable {
 public:
  DriveTable() = default;

  // Sources, first found wins: HANGARPAK_DRIVES ("c=/srv/c;d=/mnt/d"), the
  // settings store's section "Drives" of application "Hangarpak", the Wine
  // prefix ($WINEPREFIX, else ~/.wine) and its dosdevices links; with none of
  // these, c: is the home folder and z: is "/".
  static DriveTable fromEnvironment(const Environment& env, SettingsStore* settings);
  // The drives of a Wine prefix: its dosdevices links.
  static DriveTable fromPrefix(const std::string& prefix);

  // Takes the prefix's drives in place of those of another prefix or the
  // defaults; drives set explicitly (HANGARPAK_DRIVES, the settings) stay.
  // True when the table changed.
  bool takePrefix(const std::string& prefix);

  // Makes sure some drive holds the host folder: "/" on the last free
  // letter from z: down when none does (a prefix whose z: link was removed).
  void reach(const std::string& hostFolder);

  void set(char letter, std::string hostRoot, std::string source);
  void clear() { drives_.clear(); }
  const std::vector<DriveMapping>& drives() const { return drives_; }  // sorted by letter
  std::optional<std::string> hostRoot(char letter) const;
  // The mapping of the drive letter (either case); nullptr when none.
  const DriveMapping* driveOf(char letter) const;
  // The drive is in the table and its host folder exists.
  bool available(char letter) const;

  // Resolves a Windows path to a host path. Each component that exists on
  // disk is matched without regard to case (an exact match wins); components
  // that do not exist keep their spelling. "." and ".." are folded and doubled
  // backslashes ignored. Throws RuntimeError 68 for a drive that is not in the
  // table and 52 for a path without a drive or with a name the host cannot hold.
  std::string toHost(std::string_view windowsPath) const;
  // The same, learning the names on disk from names (a cache of them).
  std::string toHost(std::string_view windowsPath, FolderNames& names) const;
  // toHost(), and whether names knows that nothing is at the host path (a
  // folder on the way, or the last name, is missing), so that no look on
  // disk is needed to tell.
  struct Resolved {
    std::string host;
    bool absent = false;
    FolderNames::Type type = FolderNames::Type::Unknown;  // of the last component, as its folder's listing tells
  };
  Resolved resolve(std::string_view windowsPath, FolderNames& names) const;

  // The Windows path of an absolute host path, by the longest drive root that
  // holds it; nullopt when no drive holds it.
  std::optional<std::string> toWindows(std::string_view hostPath) const;

 private:
  std::vector<DriveMapping> drives_;
};

// Lexical form of a Windows path: drive letter upper case, "/" turned into
// "\", doubled separators, "." and ".." folded. Keeps a trailing "\" off
// except for a drive root ("C:\").
std::string normalizeWindowsPath(std::string_view windowsPath);
// Whether the path has a drive and is in that form, so that
// normalizeWindowsPath gives it back as it is.
bool isNormalWindowsPath(std::string_view windowsPath);

}  // namespace core
