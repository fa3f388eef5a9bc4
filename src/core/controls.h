#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class FileSystem;
class DriveTable;

// Models of the controls the windows are made of. They carry the behaviour
// the program relies on (a sorted list, a combo box whose selection set from
// code raises its Click handler, a folder list that refuses a missing
// folder); the Qt views only render them.

struct Label {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct Button {
  std::string caption;
  bool visible = true;
  bool enabled = true;
};

struct CheckBox {
  std::string caption;
  int value = 0;  // 0 unchecked, 1 checked
  bool visible = true;
  bool enabled = true;
};

struct OptionButton {
  std::string caption;
  bool value = false;
  bool visible = true;
  bool enabled = true;
};

struct TextBox {
  std::string text;
  std::size_t selStart = 0;
  std::size_t selLength = 0;
  bool visible = true;
  bool enabled = true;
  bool hasFocus = false;
  void selectAll() {
    selStart = 0;
    selLength = text.size();
  }
};

struct ProgressBar {
  int min = 0;
  int max = 100;
  int value = 0;
  bool visible = true;
};

struct ListItem {
  std::string text;
  std::vector<std::string> subItems;  // sub-item 1 is subItems[0]
  int smallIcon = 0;
  bool selected = false;
  std::string subItem(std::size_t n) const { return n >= 1 && n <= subItems.size() ? subItems[n - 1] : std::string(); }
};

// A report-style list view; rows stay in the order they were added (a
// controller renders them from data that is already in order).
class ListView {
 public:
  std::vector<std::string> columns;
  bool multiSelect = false;
  bool visible = true;
  bool enabled = true;

  // Adds a row and returns its index.
  int add(std::string text, std::vector<std::string> subItems = {}, int smallIcon = 0);
  void remove(int index);
  void clear() { items_.clear(); }
  // Replaces every row at once.
  void assign(std::vector<ListItem> rows) { items_ = std::move(rows); }
  int count() const { return static_cast<int>(items_.size()); }
  ListItem& item(int index) { return items_.at(static_cast<std::size_t>(index)); }
  const ListItem& item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<ListItem>& items() const { return items_; }

  // Selects one row only (-1 selects none). Raises no event.
  void select(int index);
  void setSelected(int index, bool selected);
  int selectedIndex() const;  // first selected row, -1 for none
  std::vector<int> selectedIndices() const;

 private:
  std::vector<ListItem> items_;
};

// A drop-down list. Setting listIndex from code raises onClick, as the
// program's handlers expect (hence catalogueBusy).
class ComboBox {
 public:
  bool visible = true;
  bool enabled = true;
  std::function<void()> onClick;

  void addItem(std::string text) { items_.push_back(std::move(text)); }
  void clear();
  int listCount() const { return static_cast<int>(items_.size()); }
  const std::string& list(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& items() const { return items_; }
  int listIndex() const { return listIndex_; }
  // Sets the selection and raises onClick (also when the index is unchanged,
  // except for -1).
  void setListIndex(int index);
  // What the user does: the same as setListIndex.
  void userPick(int index) { setListIndex(index); }
  std::string text() const { return listIndex_ >= 0 ? items_.at(static_cast<std::size_t>(listIndex_)) : std::string(); }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// The drives of the drive table ("c:", "d:", ...). Setting the drive raises
// onChange; a drive whose host folder is missing is error 68.
class DriveList {
 public:
  explicit DriveList(const DriveTable& drives) : drives_(&drives) {}
  std::function<void()> onChange;
  bool visible = true;
  bool enabled = true;

  std::vector<std::string> listDrives() const;  // "c:", "z:"
  const std::string& drive() const { return drive_; }
  // Takes the first two characters ("c:\windows" -> "c:"); throws
  // RuntimeError 68 when the drive is missing and leaves the drive unchanged.
  void setDrive(std::string_view drive);

 private:
  const DriveTable* drives_;
  std::string drive_ = "c:";
};

// A folder and its sub-folders. Setting the path raises onChange; a missing
// folder is error 76, an unavailable drive 68. A bare drive ("c:") means its
// root ("C:\").
class FolderList {
 public:
  explicit FolderList(FileSystem& fs) : fs_(&fs) {}
  std::function<void()> onChange;
  bool visible = true;
  bool enabled = true;

  const std::string& path() const { return path_; }
  void setPath(std::string_view path);
  std::vector<std::string> subFolders() const;  // full paths, alphabetical

 private:
  FileSystem* fs_;
  std::string path_ = "C:\\";
};

// The plain files of one folder matching a pattern, hidden and system files
// included; refreshed on demand.
class FileList {
 public:
  explicit FileList(FileSystem& fs) : fs_(&fs) {}
  std::string pattern = "*";

  const std::string& path() const { return path_; }
  void setPath(std::string_view path);  // refreshes
  void refresh();
  int listCount() const { return static_cast<int>(files_.size()); }
  const std::string& list(int index) const { return files_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& files() const { return files_; }

 private:
  FileSystem* fs_;
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace core
