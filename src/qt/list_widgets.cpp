#include "qt/list_widgets.h"

#include <QHeaderView>
#include <QMouseEvent>

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
}

void ListViewWidget::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  if (event->button() == Qt::RightButton && onRightClick) {
    if (auto* item = itemAt(event->pos())) onRightClick(indexOfTopLevelItem(item));
  }
}

void ListViewWidget::render() {
  rendering_ = true;
  setVisible(model_.visible);
  setEnabled(model_.enabled);
  clear();
  QList<QTreeWidgetItem*> items;
  for (const auto& row : model_.items()) {
    QStringList texts{QString::fromStdString(row.text)};
    for (const auto& sub : row.subItems) texts << QString::fromStdString(sub);
    auto* item = new QTreeWidgetItem(texts);
    if (row.smallIcon > 0) item->setIcon(0, listImage(row.smallIcon));
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
