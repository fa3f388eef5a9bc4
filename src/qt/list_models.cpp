#include "qt/list_models.h"

#include <QFont>

#include "manager/catalogue.h"
#include "qt/icons.h"

namespace qt {

namespace {
const std::string kNoText;
}

ListRowsModel::ListRowsModel(std::vector<std::string> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

int ListRowsModel::image(int row) const {
  const int icon = rows_[static_cast<std::size_t>(row)].smallIcon;
  return imageOf ? imageOf(icon) : icon;
}

void ListRowsModel::take(const std::vector<core::ListItem>& rows) {
  bool sameTexts = rows.size() == rows_.size();
  for (std::size_t i = 0; sameTexts && i < rows.size(); ++i)
    sameTexts = rows[i].text == rows_[i].text && rows[i].subItems == rows_[i].subItems;
  if (!sameTexts) {
    beginResetModel();
    rows_ = rows;
    images_.clear();
    for (int i = 0; i < rowCount(); ++i) images_.push_back(image(i));
    editableRow_ = -1;
    endResetModel();
    return;
  }
  rows_ = rows;
  for (int i = 0; i < rowCount(); ++i) {
    const int now = image(i);
    if (images_[static_cast<std::size_t>(i)] == now) continue;
    images_[static_cast<std::size_t>(i)] = now;
    emit dataChanged(index(i, 0), index(i, 0), {Qt::DecorationRole});
  }
}

int ListRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, static_cast<int>(columns_.size()));
}

const std::string& ListRowsModel::cell(int row, int column) const {
  const auto& item = rows_.at(static_cast<std::size_t>(row));
  if (column == 0) return item.text;
  const auto sub = static_cast<std::size_t>(column - 1);
  return sub < item.subItems.size() ? item.subItems[sub] : kNoText;
}

QVariant ListRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return QString::fromStdString(cell(index.row(), index.column()));
  // A cell too narrow for its text still shows all of it under the pointer.
  if (role == Qt::ToolTipRole) {
    const std::string& text = cell(index.row(), index.column());
    return text.empty() ? QVariant() : QVariant(QString::fromStdString(text));
  }
  if (role == Qt::FontRole && isHeading && isHeading(index.row())) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role == Qt::DecorationRole && index.column() == 0) {
    const int shown = images_[static_cast<std::size_t>(index.row())];
    return shown > 0 ? listImage(shown) : QVariant();
  }
  return {};
}

QVariant ListRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  // A column sorts ascending at its first click.
  if (role == Qt::InitialSortOrderRole) return Qt::AscendingOrder;
  if (role != Qt::DisplayRole) return {};
  return section >= 0 && static_cast<std::size_t>(section) < columns_.size()
             ? QString::fromStdString(columns_[static_cast<std::size_t>(section)])
             : QVariant();
}

Qt::ItemFlags ListRowsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (index.row() == editableRow_ && index.column() == 0) f |= Qt::ItemIsEditable;
  return f;
}

bool ListRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0 || index.row() != editableRow_) return false;
  editableRow_ = -1;
  const std::string text = value.toString().toStdString();
  if (text != rows_[static_cast<std::size_t>(index.row())].text && onEdited) onEdited(index.row(), text);
  return true;
}

ListOrderModel::ListOrderModel(ListRowsModel& rows, QObject* parent) : QSortFilterProxyModel(parent), rows_(rows) {
  setSourceModel(&rows);
  setFilterCaseSensitivity(Qt::CaseInsensitive);
  setFilterKeyColumn(-1);
}

bool ListOrderModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const std::string& a = rows_.cell(left.row(), left.column());
  const std::string& b = rows_.cell(right.row(), right.column());
  if (manager::textOrderLess(a, b)) return true;
  if (manager::textOrderLess(b, a)) return false;
  // Equal texts keep the rows' own order, whichever way the sort goes.
  return sortOrder() == Qt::AscendingOrder ? left.row() < right.row() : left.row() > right.row();
}

}  // namespace qt
