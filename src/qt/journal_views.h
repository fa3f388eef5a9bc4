#pragma once

#include "qt/form_dialog.h"

class QLabel;
class QPushButton;

namespace ui {
class HistoryForm;
class PreviewForm;
}  // namespace ui

namespace qt {

class ListViewWidget;

// historyFrm: the installations above, the picked one's changes below,
// Uninstall... and Close.
class HistoryView : public FormDialog {
 public:
  HistoryView(ui::HistoryForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override;

  ui::HistoryForm& history_;
  ListViewWidget* installations_;
  ListViewWidget* effects_;
  QPushButton* uninstall_;
};

// previewFrm: what the picked archives would change, a summary above the
// list, and Close.
class PreviewView : public FormDialog {
 public:
  PreviewView(ui::PreviewForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override;

  ui::PreviewForm& preview_;
  QLabel* summary_;
  ListViewWidget* plan_;
};

// Registers the views of the install journal's dialogs.
void registerJournalViews(QtDialogs& dialogs);

}  // namespace qt
