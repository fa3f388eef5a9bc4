#include "core/controls.h"

#include "core/errors.h"
#include "core/fs.h"
#include "core/paths.h"
#include "core/text.h"

namespace core {

int ListView::add(std::string text, std::vector<std::string> subItems, int smallIcon) {
  items_.push_back({std::move(text), std::move(subItems), smallIcon, false});
  return count() - 1;
}

void ListView::remove(int index) {
  items_.erase(items_.begin() + index);
}

void ListView::select(int index) {
  for (int i = 0; i < count(); ++i) items_[static_cast<std::size_t>(i)].selected = (i == index);
}

void ListView::setSelected(int index, bool selected) {
  if (!multiSelect && selected) {
    select(index);
    return;
  }
  items_.at(static_cast<std::size_t>(index)).selected = selected;
}

int ListView::selectedIndex() const {
  for (int i = 0; i < count(); ++i)
    if (items_[static_cast<std::size_t>(i)].selected) return i;
  return -1;
}

std::vector<int> ListView::selectedIndices() const {
  std::vector<int> out;
  for (int i = 0; i < count(); ++i)
    if (items_[static_cast<std::size_t>(i)].selected) out.push_back(i);
  return out;
}

void ComboBox::clear() {
  items_.clear();
  listIndex_ = -1;
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= listCount()) throw RuntimeError(380, "Invalid property value");
  listIndex_ = index;
  if (index >= 0 && onClick) onClick();
}

std::vector<std::string> DriveList::listDrives() const {
  std::vector<std::string> out;
  for (const auto& d : drives_->drives()) out.push_back(std::string(1, d.letter) + ":");
  return out;
}

void DriveList::setDrive(std::string_view drive) {
  std::string d = lower(left(drive, 2));
  if (d.size() < 2 || d[1] != ':') throw RuntimeError(err::DeviceUnavailable);
  // A drive whose folder is gone behaves like a drive without a medium.
  if (!drives_->available(d[0])) throw RuntimeError(err::DeviceUnavailable);
  drive_ = d;
  if (onChange) onChange();
}

void FolderList::setPath(std::string_view path) {
  std::string p(path);
  if (p.size() == 2 && p[1] == ':') p += '\\';
  if (p.size() < 3 || p[1] != ':') throw RuntimeError(err::PathNotFound);
  if (!fs_->folderExists(p)) {
    (void)fs_->hostPath(p);  // throws 68 for an unknown drive
    throw RuntimeError(err::PathNotFound);
  }
  // The drive letter reads back in capitals, as the platform reports a path.
  if (p[0] >= 'a' && p[0] <= 'z') p[0] = static_cast<char>(p[0] - 'a' + 'A');
  // A trailing backslash stays only on a drive root.
  if (p.size() > 3 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  path_ = p;
  if (onChange) onChange();
}

std::vector<std::string> FolderList::subFolders() const {
  std::vector<std::string> out;
  for (const auto& name : fs_->listFolders(path_))
    out.push_back(path_.size() == 3 ? path_ + name : joinPath(path_, name));
  return out;
}

void FileList::setPath(std::string_view path) {
  path_ = std::string(path);
  refresh();
}

void FileList::refresh() {
  files_.clear();
  try {
    files_ = fs_->listFiles(path_, pattern, true);
  } catch (const RuntimeError&) {
  }
}

}  // namespace core
