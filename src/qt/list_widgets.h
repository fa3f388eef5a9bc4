#pragma once

#include <QComboBox>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

namespace core {
class ListView;
class ComboBox;
}  // namespace core

namespace qt {

// A report-style list view with the columns of its model; it forwards the
// user's selection into the model and reports clicks and double clicks.
class ListViewWidget : public QTreeWidget {
 public:
  explicit ListViewWidget(core::ListView& model, QWidget* parent = nullptr);

  std::function<void(int row)> onItemClick;
  std::function<void(int row)> onDoubleClick;
  std::function<void(int row)> onRightClick;
  // Any mouse button pressed on the list (1 left, 2 right, 4 middle),
  // before the click it may become.
  std::function<void(int button)> onMouseDown;
  // The image of a row's small icon (default: listImage(smallIcon)).
  std::function<int(int smallIcon)> imageOf;
  // An in-place edit of a row's text ended with the new text (not called
  // when it is abandoned). Runs after the edit has closed.
  std::function<void(int row, const std::string& text)> onLabelEdited;

  // Makes the list take files dropped from a file manager; the handler gets
  // their host paths.
  void acceptFileDrops(std::function<void(const std::vector<std::string>& hostPaths)> onDrop);

  // Starts the in-place edit of a row's text.
  void editRow(int row);
  void render();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool sameRows() const;

  core::ListView& model_;
  bool rendering_ = false;
  QTreeWidgetItem* editing_ = nullptr;
  std::function<void(const std::vector<std::string>&)> onFileDrop_;
};

// A drop-down list over its model; the user's pick goes through the
// model's userPick, which raises its Click handler.
class ComboWidget : public QComboBox {
 public:
  explicit ComboWidget(core::ComboBox& model, QWidget* parent = nullptr);
  // Runs the pick (through the dialogs seam, by the owner).
  std::function<void(int index)> onPick;
  void render();

 private:
  core::ComboBox& model_;
  bool rendering_ = false;
};

}  // namespace qt
