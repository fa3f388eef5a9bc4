#pragma once

#include <QComboBox>
#include <QTreeView>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;

namespace core {
class ListView;
class ComboBox;
}  // namespace core

namespace qt {

class ListRowsModel;
class ListOrderModel;

// A report-style list view with the columns of its model. It shows a copy
// of the model's rows through a sorting and filtering proxy: a click on a
// column's header sorts by that column, and setFilterText keeps the rows
// with the text in any column. Every row number it reports or takes is the
// model's own, whatever the order shown; the user's selection goes into the
// model.
class ListViewWidget : public QTreeView {
 public:
  explicit ListViewWidget(core::ListView& model, QWidget* parent = nullptr);
  ~ListViewWidget() override;

  std::function<void(int row)> onItemClick;
  // The selection changed, by mouse or keyboard, and the model holds it
  // already (not called while the list renders).
  std::function<void()> onSelectionChanged;
  std::function<void(int row)> onDoubleClick;
  std::function<void(int row)> onRightClick;
  // Any mouse button pressed on the list (1 left, 2 right, 4 middle),
  // before the click it may become.
  std::function<void(int button)> onMouseDown;
  // The image of a row's small icon (default: listImage(smallIcon)).
  std::function<int(int smallIcon)> imageOf;
  // Rows shown in bold (none when empty).
  std::function<bool(int row)> isHeading;
  // An in-place edit of a row's text ended with the new text (not called
  // when it is abandoned or the text is unchanged). Runs after the edit has
  // closed.
  std::function<void(int row, const std::string& text)> onLabelEdited;
  // Enter or Return pressed on the list; Delete pressed on the list.
  std::function<void()> onEnter;
  std::function<void()> onDelete;

  // Makes the list take files dropped from a file manager; the handler gets
  // their host paths.
  void acceptFileDrops(std::function<void(const std::vector<std::string>& hostPaths)> onDrop);

  // Starts the in-place edit of a row's text.
  void editRow(int row);
  void render();

  // Shows only the rows with this text in a column (case ignored); an empty
  // text shows them all.
  void setFilterText(const QString& text);
  int columnCount() const;
  // The model's rows in the order shown, the filtered ones left out.
  std::vector<int> shownRows() const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int rowOf(const QModelIndex& shown) const;
  void takeSelection();
  void showSelection();

  core::ListView& model_;
  ListRowsModel* rows_;
  ListOrderModel* order_;
  bool rendering_ = false;
  std::function<void(const std::vector<std::string>&)> onFileDrop_;
};

// The filter field above a list: typing filters it, Escape empties the
// field, and Ctrl+F anywhere in scope puts the cursor into it.
QLineEdit* makeFilterField(ListViewWidget* list, QWidget* scope);

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
