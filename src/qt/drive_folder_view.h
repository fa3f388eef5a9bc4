#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QListWidget;

namespace core {
class DriveList;
class FolderList;
}  // namespace core

namespace qt {

// A drive list above a folder list, as the options dialog and the Install
// tab show them: the folder list shows the current folder's path from its
// drive root down, then its sub-folders; one click or the arrow keys pick a
// folder, a double click or Enter opens it.
class DriveFolderView : public QWidget {
 public:
  explicit DriveFolderView(QWidget* parent = nullptr);

  // What the user does; the owner forwards it to its controller.
  std::function<void(const std::string& drive)> onDrivePicked;
  std::function<void(const std::string& folder)> onFolderPicked;
  std::function<void(const std::string& folder)> onFolderOpened;

  // picked: the folder to highlight (default: the folder list's own). The
  // rows are made anew only when they change, so that a click in progress
  // keeps its row.
  void render(const core::DriveList& drives, const core::FolderList& folders, std::string_view picked = {});

 private:
  QComboBox* drives_;
  QListWidget* folders_;
  std::vector<std::string> shown_;  // the rows' folders
  bool rendering_ = false;
};

}  // namespace qt
