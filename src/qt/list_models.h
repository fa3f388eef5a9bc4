#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"

namespace qt {

// The rows of a core::ListView as a Qt table: column 0 is a row's text,
// column c its sub-item c. It holds a copy of the rows, taken by take(), so
// that the view never reads rows its controller is changing.
class ListRowsModel : public QAbstractTableModel {
 public:
  explicit ListRowsModel(std::vector<std::string> columns, QObject* parent = nullptr);

  // The image shown for a row's small icon (0 for none).
  std::function<int(int smallIcon)> imageOf;
  // Rows shown in bold, such as the heading of a section (none when empty).
  std::function<bool(int row)> isHeading;
  // A committed in-place edit of a row's text that changed it.
  std::function<void(int row, const std::string& text)> onEdited;

  // Takes the rows anew. Rows with the same texts keep their items (only
  // changed icons are announced), so a selection and an open edit survive.
  void take(const std::vector<core::ListItem>& rows);
  const std::vector<core::ListItem>& rows() const { return rows_; }
  // The one row whose text may be edited in place (-1 none).
  void setEditableRow(int row) { editableRow_ = row; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The text of a cell as the sort compares it.
  const std::string& cell(int row, int column) const;

 private:
  int image(int row) const;
  std::vector<std::string> columns_;
  std::vector<core::ListItem> rows_;
  std::vector<int> images_;
  int editableRow_ = -1;
};

// Sorts by the catalogue's text order (manager::textOrderLess), equal texts
// in the rows' own order; unsorted (column -1), the rows keep their
// controller's order. Filters on any column, case ignored.
class ListOrderModel : public QSortFilterProxyModel {
 public:
  explicit ListOrderModel(ListRowsModel& rows, QObject* parent = nullptr);

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  ListRowsModel& rows_;
};

}  // namespace qt
