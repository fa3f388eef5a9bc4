#include "qt/journal_views.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/list_widgets.h"
#include "qt/qt_dialogs.h"
#include "ui/history_form.h"
#include "ui/preview_form.h"

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

  // Mouse and keyboard alike move the selection, which the pane and
  // Uninstall follow.
  installations_->onSelectionChanged = [this] {
    const int row = history_.historyLst.selectedIndex();
    act([this, row] { history_.historyLst_SelectionChanged(row); });
  };
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

PreviewView::PreviewView(ui::PreviewForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), preview_(form) {
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName("summaryLbl");
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  plan_ = new ListViewWidget(form.planLst, this);
  plan_->setObjectName("planLst");
  plan_->isHeading = [this](int row) {
    return std::ranges::find(preview_.sectionRows, row) != preview_.sectionRows.end();
  };
  layout->addWidget(plan_, 1);
  auto* buttons = new QHBoxLayout;
  auto* close = button(form.closeCmd.caption, "closeCmd", this);
  close->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(close, &QPushButton::clicked, this, [this] { act([this] { preview_.closeCmd_Click(); }); });
  resize(1040, 520);
  ready();
}

void PreviewView::render() {
  QString summary = QString::fromStdString(preview_.summaryLbl.caption);
  summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  summary_->setText(summary);
  plan_->render();
  // An archive's heading row spans the columns; its text does not count
  // towards the first column's width. Every cell shows its whole text as a
  // tooltip, so that none is cut off.
  const std::vector<int> shown = plan_->shownRows();
  int first = plan_->header()->sectionSizeHint(0);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const bool heading = std::ranges::find(preview_.sectionRows, shown[i]) != preview_.sectionRows.end();
    plan_->setFirstColumnSpanned(static_cast<int>(i), QModelIndex(), heading);
    if (!heading)
      first = std::max(
          first,
          plan_->fontMetrics().horizontalAdvance(QString::fromStdString(preview_.planLst.item(shown[i]).text)) + 24);
  }
  plan_->setColumnWidth(0, first);
  for (int c = 1; c < plan_->columnCount(); ++c) plan_->resizeColumnToContents(c);
}

void registerJournalViews(QtDialogs& dialogs) {
  dialogs.registerView<ui::PreviewForm, PreviewView>();
  dialogs.registerView<ui::HistoryForm, HistoryView>();
}

}  // namespace qt
