#pragma once

#include <QComboBox>
#include <QTreeWidget>
#include <functional>

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

  void render();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  core::ListView& model_;
  bool rendering_ = false;
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
