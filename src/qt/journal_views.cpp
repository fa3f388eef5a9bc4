#include "qt/journal_views.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "ui/history_form.h"

namespace qt {

namespace {

QPushButton* button(const std::string& caption, const char* name, QWidget* parent) {
  auto* b = new QPushButton(QString::fromStdString(caption), parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

HistoryView::HistoryView(ui::HistoryForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), history_(form) {
  auto* layout = new QVBoxLayout(this);
  auto* split = new QSplitter(Qt::Vertical, this);
  installations_ = new ListViewWidget(form.historyLst, split);
  installations_->setObjectName("historyLst");
  effects_ = new ListViewWidget(form.effectsLst, split);
  effects_->setObjectName("effectsLst");
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  layout->addWidget(split, 1);

  auto* buttons = new QHBoxLayout;
  uninstall_ = button(form.uninstallCmd.caption, "uninstallCmd", this);
  auto* close = button(form.closeCmd.caption, "closeCmd", this);
  close->setDefault(true);
  buttons->addWidget(uninstall_);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);

  installations_->onItemClick = [this](int row) { act([this, row] { history_.historyLst_ItemClick(row); }); };
  connect(uninstall_, &QPushButton::clicked, this, [this] { act([this] { history_.uninstallCmd_Click(); }); });
  connect(close, &QPushButton::clicked, this, [this] { act([this] { history_.closeCmd_Click(); }); });
  resize(860, 520);
  ready();
}

void HistoryView::render() {
  installations_->render();
  effects_->render();
  for (auto* list : {installations_, effects_})
    for (int c = 0; c < list->columnCount(); ++c) list->resizeColumnToContents(c);
  uninstall_->setEnabled(history_.uninstallCmd.enabled);
}

void registerJournalViews(QtDialogs& dialogs) {
  dialogs.registerView("historyFrm", [&dialogs](core::ModalController& c, QWidget* parent) -> std::unique_ptr<QDialog> {
    return std::make_unique<HistoryView>(static_cast<ui::HistoryForm&>(c), dialogs, parent);
  });
}

}  // namespace qt
