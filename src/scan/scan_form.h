#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/controls.h"
#include "core/form.h"
#include "manager/catalogue.h"
#include "scan/scan_result.h"

namespace core {
class Context;
}

namespace scan {

// Which catalogue the Editor tab shows, by its toolbar's view buttons.
enum class ScanView { None, Aircraft, Panels, Sounds };

// The first pressed of the view buttons 1, 2 and 3; None when none is.
ScanView ScanViewFromToolbar(bool button1, bool button2, bool button3);

// scanFrm: scans the Editor tab's current catalogue for missing files,
// shows the report and prints it.
class ScanForm : public core::Form {
 public:
  // The catalogue outlives the dialog, which cannot change it: the main
  // window is disabled while it is open.
  ScanForm(core::Context& ctx, ScanView view, const manager::Catalogue& catalogue);

  std::string_view formName() const override { return "scanFrm"; }
  void Form_Load() override;
  // Refused while a scan runs (Close is disabled then).
  bool closeBox() override;

  void scanCmd_Click();
  void printCmd_Click();
  // Save the report as the box shows it where the user's save dialog
  // points: as a UTF-8 text file, or as a PDF file of the pages Print makes.
  void saveTxtCmd_Click();
  void savePdfCmd_Click();
  // Shows the last report whole, or only its entries with missing files.
  void missingChk_Click();
  void okCmd_Click();

  core::TextBox checkTxt;
  core::Button scanCmd{"&Scan"};
  core::Button printCmd{"&Print", true, false};
  core::Button saveTxtCmd{"Save as &Text…", true, false};
  core::Button savePdfCmd{"Save as P&DF…", true, false};
  core::Button okCmd{"&Close"};
  core::CheckBox missingChk{"Only entries with &missing files", 0, true, false};
  // Under the report box: where the last print or save went.
  core::Label statusLbl;
  bool busyPointer = false;
  int missingFound = 0;
  // onChange runs every so often during a scan too, so the growing report
  // shows the progress.

 protected:
  void Form_Unload() override;

 private:
  // Asks for the file to save as (name is the file name proposed), lets
  // write make it, and says where it went or why it did not.
  void save(std::string_view title, std::string_view filter, std::string_view name,
            const std::function<void(const std::string& hostPath)>& write);
  // The file name proposed for a saved report: "missing-sound-files.txt".
  std::string reportFileName(std::string_view extension) const;

  core::Context& ctx_;
  ScanView view_;
  const manager::Catalogue& catalogue_;
  // The last scan: its opening lines, findings and report as written.
  std::string heading_;
  ScanResult result_;
  std::string fullReport_;
};

// scanCap_Click and the toolbar's scan button: disables the main window and
// shows scanFrm modally until it is closed; the main window is enabled
// again however the dialog went away.
void ShowScanDialog(core::Context& ctx, ScanView view, const manager::Catalogue& catalogue);

}  // namespace scan
