#include "qt/list_widgets.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QShortcut>
#include <QUrl>

#include "core/controls.h"
#include "qt/list_models.h"

namespace qt {

ListViewWidget::ListViewWidget(core::ListView& model, QWidget* parent)
    : QTreeView(parent),
      model_(model),
      rows_(new ListRowsModel(model.columns, this)),
      order_(new ListOrderModel(*rows_, this)) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(16, 16));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(order_);
  // The rows come in their controller's order until a click on a header
  // sorts them by that column.
  header()->setSortIndicator(-1, Qt::AscendingOrder);
  setSortingEnabled(true);
  setSelectionMode(model_.multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (rendering_) return;
    takeSelection();
    if (onSelectionChanged) onSelectionChanged();
  });
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (!rendering_ && onItemClick) onItemClick(rowOf(index));
  });
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (!rendering_ && onDoubleClick) onDoubleClick(rowOf(index));
  });
  rows_->onEdited = [this](int row, const std::string& text) {
    // The handler renders the list anew, which must not happen while the
    // editor is still committing.
    QMetaObject::invokeMethod(
        this,
        [this, row, text] {
          if (onLabelEdited) onLabelEdited(row, text);
        },
        Qt::QueuedConnection);
  };
}

ListViewWidget::~ListViewWidget() = default;

int ListViewWidget::rowOf(const QModelIndex& shown) const {
  return shown.isValid() ? order_->mapToSource(shown).row() : -1;
}

int ListViewWidget::columnCount() const {
  return rows_->columnCount();
}

std::vector<int> ListViewWidget::shownRows() const {
  std::vector<int> rows;
  for (int i = 0; i < order_->rowCount(); ++i) rows.push_back(rowOf(order_->index(i, 0)));
  return rows;
}

void ListViewWidget::setFilterText(const QString& text) {
  order_->setFilterFixedString(text);
}

// The rows the user selected go into the model; rows the filter hides are
// not selected.
void ListViewWidget::takeSelection() {
  std::vector<bool> selected(static_cast<std::size_t>(model_.count()), false);
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    const int row = rowOf(index);
    if (row >= 0 && row < model_.count()) selected[static_cast<std::size_t>(row)] = true;
  }
  for (int i = 0; i < model_.count() && i < rows_->rowCount(); ++i)
    model_.item(i).selected = selected[static_cast<std::size_t>(i)];
}

void ListViewWidget::showSelection() {
  QItemSelection wanted;
  QModelIndex first;
  for (int i = 0; i < rows_->rowCount(); ++i) {
    if (!model_.item(i).selected) continue;
    const QModelIndex shown = order_->mapFromSource(rows_->index(i, 0));
    if (!shown.isValid()) continue;
    wanted.select(shown, shown.siblingAtColumn(order_->columnCount() - 1));
    if (!first.isValid()) first = shown;
  }
  if (wanted == selectionModel()->selection()) return;
  selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
  if (first.isValid()) {
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    scrollTo(first);
  }
}

void ListViewWidget::editRow(int row) {
  const QModelIndex shown = order_->mapFromSource(rows_->index(row, 0));
  if (!shown.isValid()) return;
  rows_->setEditableRow(row);
  scrollTo(shown);
  edit(shown);
}

void ListViewWidget::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown) {
    const Qt::MouseButton b = event->button();
    onMouseDown(b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 1);
  }
  QTreeView::mousePressEvent(event);
  if (event->button() == Qt::RightButton && onRightClick) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) onRightClick(rowOf(index));
  }
}

void ListViewWidget::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState && event->modifiers() == Qt::NoModifier) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && onEnter) {
      onEnter();
      return;
    }
    if (key == Qt::Key_Delete && onDelete) {
      onDelete();
      return;
    }
  }
  QTreeView::keyPressEvent(event);
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

void ListViewWidget::render() {
  rendering_ = true;
  setVisible(model_.visible);
  setEnabled(model_.enabled);
  rows_->imageOf = imageOf;
  rows_->isHeading = isHeading;
  rows_->take(model_.items());
  showSelection();
  rendering_ = false;
}

QLineEdit* makeFilterField(ListViewWidget* list, QWidget* scope) {
  auto* field = new QLineEdit(scope);
  field->setObjectName("filterTxt");
  field->setPlaceholderText(QStringLiteral("Filter (Ctrl+F)"));
  field->setClearButtonEnabled(true);
  QObject::connect(field, &QLineEdit::textChanged, list, [list](const QString& text) { list->setFilterText(text); });
  auto* find = new QShortcut(QKeySequence::Find, scope);
  find->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(find, &QShortcut::activated, field, [field] {
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
  });
  auto* clear = new QShortcut(QKeySequence(Qt::Key_Escape), field);
  clear->setContext(Qt::WidgetShortcut);
  QObject::connect(clear, &QShortcut::activated, field, [field] { field->clear(); });
  return field;
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
