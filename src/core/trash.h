#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace core {

class Context;
class Environment;

// One folder on its way into the desktop's trash: a top item of the trash
// (its files/ entry and its .trashinfo) made when the folder is opened, into
// which the files removed from the folder are moved one by one, at the same
// place relative to the folder. A file manager restores the item by moving
// it back where it was.
class TrashItem {
 public:
  virtual ~TrashItem() = default;
  // Moves the file (a host path inside the folder) into the item. False
  // when it cannot be moved there; the caller then deletes it as before.
  virtual bool put(const std::string& hostFile) = 0;
  // The item's folder in the trash's files/ (a host path).
  virtual const std::string& trashedFolder() const = 0;
};

// The desktop's trash as the freedesktop.org trash standard lays it
// out: the home trash for files on the home trash's file system, else the
// trash at the top of the file system that holds them.
class Trash {
 public:
  virtual ~Trash() = default;
  // nullptr when no trash can be had on the folder's file system.
  virtual std::unique_ptr<TrashItem> open(const std::string& hostFolder) = 0;
};

// The home trash is $XDG_DATA_HOME/Trash (~/.local/share/Trash); on another
// file system, $topdir/.Trash/$UID when the administrator made a shared
// .Trash (a sticky folder, not a link), else $topdir/.Trash-$UID.
std::unique_ptr<Trash> makeDesktopTrash(const Environment& env);

// The trash item for a folder of the program (a Windows path); nullptr when
// the context has no trash or none can be had on that file system.
std::unique_ptr<TrashItem> OpenTrashItem(Context& ctx, std::string_view windowsFolder);
// Removes a file (a Windows path) of a folder being removed: into the item
// when there is one and it takes the file, else deleted as the file system
// service deletes.
void DiscardFile(Context& ctx, TrashItem* item, std::string_view windowsPath);

// The Path= value of a .trashinfo: the path with every byte outside the
// unreserved characters of a URI (and "/") written as %XX.
std::string trashInfoPath(const std::string& path);

}  // namespace core
