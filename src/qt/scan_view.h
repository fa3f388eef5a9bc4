#pragma once

#include <string>

#include "qt/form_dialog.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace scan {
class ScanForm;
}

namespace qt {

// scanFrm: the report box, the status of the last print or save under it,
// and Scan, Print, Save as Text, Save as PDF and Close; a check box narrows the report to the entries with
// missing files.
class ScanView : public FormDialog {
 public:
  ScanView(scan::ScanForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override;
  void showReport();

  scan::ScanForm& scan_;
  QPlainTextEdit* report_;
  QLabel* status_;
  QCheckBox* missingOnly_;
  QPushButton* scanButton_;
  QPushButton* printButton_;
  QPushButton* saveTextButton_;
  QPushButton* savePdfButton_;
  QPushButton* closeButton_;
  // The report text the box shows, so a growing report is appended to the
  // box rather than set again whole at every repaint of a long scan.
  std::string shown_;
  bool busy_ = false;
};

// Registers scanFrm's view.
void registerScanView(QtDialogs& dialogs);

}  // namespace qt
