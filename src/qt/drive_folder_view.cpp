#include "qt/drive_folder_view.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include "core/controls.h"
#include "core/text.h"

namespace qt {

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

DriveFolderView::DriveFolderView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  drives_ = new QComboBox(this);
  folders_ = new QListWidget(this);
  layout->addWidget(drives_);
  layout->addWidget(folders_, 1);
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    if (!rendering_ && onDrivePicked) onDrivePicked(drives_->itemText(index).toStdString());
  });
  connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (!rendering_ && onFolderOpened) onFolderOpened(item->data(kPathRole).toString().toStdString());
  });
}

void DriveFolderView::render(const core::DriveList& drives, const core::FolderList& folders) {
  rendering_ = true;
  drives_->clear();
  for (const auto& d : drives.listDrives()) drives_->addItem(QString::fromStdString(d));
  drives_->setCurrentIndex(drives_->findText(QString::fromStdString(drives.drive()), Qt::MatchFixedString));

  folders_->clear();
  const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
  // The path from the root down: "C:\", "C:\FS2002", "C:\FS2002\Aircraft".
  const std::string& path = folders.path();
  std::vector<std::string> chain{path.substr(0, std::min<std::size_t>(3, path.size()))};
  for (std::size_t pos = 3; pos < path.size();) {
    auto next = path.find('\\', pos);
    if (next == std::string::npos) next = path.size();
    chain.push_back(path.substr(0, next));
    pos = next + 1;
  }
  int depth = 0;
  for (const auto& folder : chain) {
    const std::string name = depth == 0 ? folder : core::lastComponent(folder);
    auto* item = new QListWidgetItem(open, QString(depth * 2, ' ') + QString::fromStdString(name), folders_);
    item->setData(kPathRole, QString::fromStdString(folder));
    ++depth;
  }
  folders_->setCurrentRow(depth - 1);
  std::vector<std::string> subs;
  try {
    subs = folders.subFolders();
  } catch (const std::exception&) {
  }
  for (const auto& sub : subs) {
    auto* item = new QListWidgetItem(closed, QString(depth * 2, ' ') + QString::fromStdString(core::lastComponent(sub)),
                                     folders_);
    item->setData(kPathRole, QString::fromStdString(sub));
  }
  rendering_ = false;
}

}  // namespace qt
