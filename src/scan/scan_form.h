#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/controls.h"
#include "core/form.h"

namespace core {
class Context;
}

namespace scan {

// Which catalogue the Editor tab shows, by its toolbar's view buttons.
enum class ScanView { None, Aircraft, Panels, Sounds };

// The first pressed of the view buttons 1, 2 and 3; None when none is.
ScanView ScanViewFromToolbar(bool button1, bool button2, bool button3);

// The catalogue lists a scan walks. They outlive the dialog, which cannot
// change them: the main window is disabled while it is open.
struct ScanLists {
  const core::ListView& flyLst;
  const core::ListView& panelLst;
  const core::ListView& lydLst;
};

// scanFrm: scans the Editor tab's current catalogue for missing files,
// shows the report and prints it.
class ScanForm : public core::Form {
 public:
  ScanForm(core::Context& ctx, ScanView view, ScanLists lists);

  std::string_view formName() const override { return "scanFrm"; }
  void Form_Load() override;
  // Refused while a scan runs (Close is disabled then).
  bool closeBox() override;

  void scanCmd_Click();
  void printCmd_Click();
  void okCmd_Click();

  core::TextBox checkTxt;
  core::Button scanCmd{"&Scan"};
  core::Button printCmd{"&Print", true, false};
  core::Button okCmd{"&Close"};
  // Under the report box: where the last print went.
  core::Label statusLbl;
  bool busyPointer = false;
  int missingFound = 0;
  // onChange runs every so often during a scan too, so the growing report
  // shows the progress.

 protected:
  void Form_Unload() override;

 private:
  core::Context& ctx_;
  ScanView view_;
  ScanLists lists_;
};

// scanCap_Click and the toolbar's scan button: disables the main window and
// shows scanFrm modally until it is closed; the main window is enabled
// again however the dialog went away.
void ShowScanDialog(core::Context& ctx, ScanView view, ScanLists lists);

}  // namespace scan
