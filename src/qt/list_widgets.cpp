#include "qt/list_widgets.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "core/controls.h"
#include "qt/icons.h"

namespace qt {

ListViewWidget::ListViewWidget(core::ListView& model, QWidget* parent) : QTreeWidget(parent), model_(model) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(16, 16));
  QStringList headers;
  for (const auto& c : model_.columns) headers << QString::fromStdString(c);
  setHeaderLabels(headers);
  setSelectionMode(model_.multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (rendering_) return;
    for (int i = 0; i < topLevelItemCount() && i < model_.count(); ++i)
      model_.item(i).selected = topLevelItem(i)->isSelected();
  });
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    if (!rendering_ && onItemClick) onItemClick(indexOfTopLevelItem(item));
  });
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    if (!rendering_ && onDoubleClick) onDoubleClick(indexOfTopLevelItem(item));
  });
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (rendering_ || item != editing_ || column != 0) return;
    editing_ = nullptr;
    const int row = indexOfTopLevelItem(item);
    const std::string text = item->text(0).toStdString();
    // The handler re-renders the list, which must not happen while the
    // item's own signal is still running.
    QMetaObject::invokeMethod(
        this,
        [this, row, text] {
          if (onLabelEdited) onLabelEdited(row, text);
        },
        Qt::QueuedConnection);
  });
}

void ListViewWidget::editRow(int row) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  rendering_ = true;
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  rendering_ = false;
  editing_ = item;
  scrollToItem(item);
  editItem(item, 0);
}

void ListViewWidget::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) {
    const Qt::MouseButton b = event->button();
    onMouseDown(b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 1);
  }
  QTreeWidget::mousePressEvent(event);
  if (event->button() == Qt::RightButton && onRightClick) {
    if (auto* item = itemAt(event->pos())) onRightClick(indexOfTopLevelItem(item));
  }
}

namespace {

std::vector<std::string> localFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  return paths;
}

}  // namespace

void ListViewWidget::acceptFileDrops(std::function<void(const std::vector<std::string>&)> onDrop) {
  onFileDrop_ = std::move(onDrop);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void ListViewWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (onFileDrop_ && !localFiles(event->mimeData()).empty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void ListViewWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (onFileDrop_ && !localFiles(event->mimeData()).empty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void ListViewWidget::dropEvent(QDropEvent* event) {
  const auto paths = localFiles(event->mimeData());
  if (!onFileDrop_ || paths.empty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  onFileDrop_(paths);
}

// Rows whose texts did not change keep their items, so that a render
// between the two clicks of a double click (or during a long list's
// scrolling) neither loses the click nor rebuilds thousands of items.
bool ListViewWidget::sameRows() const {
  if (topLevelItemCount() != model_.count()) return false;
  for (int i = 0; i < model_.count(); ++i) {
    const auto& row = model_.item(i);
    const QTreeWidgetItem* item = topLevelItem(i);
    if (item->text(0) != QString::fromStdString(row.text)) return false;
    for (std::size_t c = 0; c < row.subItems.size(); ++c)
      if (item->text(static_cast<int>(c) + 1) != QString::fromStdString(row.subItems[c])) return false;
  }
  return true;
}

void ListViewWidget::render() {
  rendering_ = true;
  setVisible(model_.visible);
  setEnabled(model_.enabled);
  const auto imageFor = [this](const core::ListItem& row) {
    const int image = imageOf ? imageOf(row.smallIcon) : row.smallIcon;
    return image > 0 ? listImage(image) : QIcon();
  };
  if (sameRows()) {
    for (int i = 0; i < model_.count(); ++i) {
      const auto& row = model_.item(i);
      QTreeWidgetItem* item = topLevelItem(i);
      const int image = imageOf ? imageOf(row.smallIcon) : row.smallIcon;
      if (item->data(0, Qt::UserRole).toInt() != image) {
        item->setIcon(0, imageFor(row));
        item->setData(0, Qt::UserRole, image);
      }
      if (item->isSelected() != row.selected) item->setSelected(row.selected);
    }
    rendering_ = false;
    return;
  }
  editing_ = nullptr;
  clear();
  QList<QTreeWidgetItem*> items;
  for (const auto& row : model_.items()) {
    QStringList texts{QString::fromStdString(row.text)};
    for (const auto& sub : row.subItems) texts << QString::fromStdString(sub);
    auto* item = new QTreeWidgetItem(texts);
    item->setIcon(0, imageFor(row));
    item->setData(0, Qt::UserRole, imageOf ? imageOf(row.smallIcon) : row.smallIcon);
    items << item;
  }
  addTopLevelItems(items);
  for (int i = 0; i < model_.count(); ++i)
    if (model_.item(i).selected) topLevelItem(i)->setSelected(true);
  rendering_ = false;
}

ComboWidget::ComboWidget(core::ComboBox& model, QWidget* parent) : QComboBox(parent), model_(model) {
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (!rendering_ && onPick) onPick(index);
  });
}

void ComboWidget::render() {
  rendering_ = true;
  setVisible(model_.visible);
  setEnabled(model_.enabled);
  clear();
  for (const auto& text : model_.items()) addItem(QString::fromStdString(text));
  setCurrentIndex(model_.listIndex());
  rendering_ = false;
}

}  // namespace qt
