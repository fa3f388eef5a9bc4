#include "qt/drive_folder_view.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

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
  connect(folders_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item, QListWidgetItem*) {
    if (!rendering_ && item && onFolderPicked) onFolderPicked(item->data(kPathRole).toString().toStdString());
  });
  connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (!rendering_ && onFolderOpened) onFolderOpened(item->data(kPathRole).toString().toStdString());
  });
}

void DriveFolderView::render(const core::DriveList& drives, const core::FolderList& folders, std::string_view picked) {
  rendering_ = true;
  drives_->clear();
  for (const auto& d : drives.listDrives()) drives_->addItem(QString::fromStdString(d));
  drives_->setCurrentIndex(drives_->findText(QString::fromStdString(drives.drive()), Qt::MatchFixedString));

  // The path from the root down: "C:\", "C:\FS2002", "C:\FS2002\Aircraft".
  const std::string& path = folders.path();
  std::vector<std::string> rows{path.substr(0, std::min<std::size_t>(3, path.size()))};
  for (std::size_t pos = 3; pos < path.size();) {
    auto next = path.find('\\', pos);
    if (next == std::string::npos) next = path.size();
    rows.push_back(path.substr(0, next));
    pos = next + 1;
  }
  const auto depth = static_cast<int>(rows.size());
  try {
    for (auto& sub : folders.subFolders()) rows.push_back(std::move(sub));
  } catch (const std::exception&) {
  }
  if (rows != shown_) {
    folders_->clear();
    const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      const std::string& folder = rows[static_cast<std::size_t>(i)];
      const std::string name = i == 0 ? folder : core::lastComponent(folder);
      auto* item = new QListWidgetItem(i < depth ? open : closed,
                                       QString(std::min(i, depth) * 2, ' ') + QString::fromStdString(name), folders_);
      item->setData(kPathRole, QString::fromStdString(folder));
    }
    shown_ = std::move(rows);
  }
  const auto at = std::ranges::find_if(shown_, [&](const std::string& f) { return core::iequals(f, picked); });
  folders_->setCurrentRow(at != shown_.end() ? static_cast<int>(at - shown_.begin()) : depth - 1);
  rendering_ = false;
}

}  // namespace qt
