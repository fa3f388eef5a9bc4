#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QListWidget;

namespace core {
class DriveList;
class FolderList;
}  // namespace core

namespace qt {

// A drive list above a folder list, as the options dialog and the Install
// tab show them: the folder list shows the current folder's path from its
// drive root down, then its sub-folders; a double click opens a folder.
class DriveFolderView : public QWidget {
 public:
  explicit DriveFolderView(QWidget* parent = nullptr);

  // What the user does; the owner forwards it to its controller.
  std::function<void(const std::string& drive)> onDrivePicked;
  std::function<void(const std::string& folder)> onFolderOpened;

  void render(const core::DriveList& drives, const core::FolderList& folders);

 private:
  QComboBox* drives_;
  QListWidget* folders_;
  bool rendering_ = false;
};

}  // namespace qt
