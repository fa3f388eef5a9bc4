#include "scan/scan_form.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "core/simulator.h"
#include "scan/print_report.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "scan/scan_panels.h"
#include "scan/scan_sounds.h"

namespace scan {

ScanView ScanViewFromToolbar(bool button1, bool button2, bool button3) {
  return button1 ? ScanView::Aircraft : button2 ? ScanView::Panels : button3 ? ScanView::Sounds : ScanView::None;
}

ScanForm::ScanForm(core::Context& ctx, ScanView view, const manager::Catalogue& catalogue)
    : ctx_(ctx), view_(view), catalogue_(catalogue) {
  Form_Load();
}

void ScanForm::Form_Load() {
  checkTxt.text.clear();
  statusLbl.caption.clear();
  printCmd.enabled = false;
  missingChk.enabled = false;
  okCmd.enabled = true;
  missingFound = 0;
  switch (view_) {
    case ScanView::Aircraft:
      caption = "Scan Aircraft";
      break;
    case ScanView::Panels:
      caption = "Scan Panel";
      break;
    case ScanView::Sounds:
      caption = "Scan Sound";
      break;
    case ScanView::None:
      caption = "Scan Error";
      break;
  }
}

void ScanForm::scanCmd_Click() {
  core::FindSimulator(ctx_);

  okCmd.enabled = false;
  busyPointer = true;
  checkTxt.text.clear();
  statusLbl.caption.clear();
  missingFound = 0;
  changed();

  {
    // However the scan ends, the dialog must be closable again.
    struct Restore {
      ScanForm& form;
      ~Restore() {
        form.busyPointer = false;
        form.okCmd.enabled = true;
        form.printCmd.enabled = true;
        form.missingChk.enabled = true;
        form.changed();
      }
    } restore{*this};

    ReportBox box(checkTxt.text, missingFound, [this](int, int) { changed(); });
    struct Keep {
      ScanForm& form;
      const ReportBox& box;
      ~Keep() {
        form.heading_ = box.heading();
        form.result_ = box.result();
        form.fullReport_ = form.checkTxt.text;
        if (form.missingChk.value) form.missingChk_Click();
      }
    } keep{*this, box};
    switch (view_) {
      case ScanView::Aircraft:
        ScanAircraft(ctx_, catalogue_.variants(), box);
        break;
      case ScanView::Panels:
        ScanPanels(ctx_, catalogue_.panels(), box);
        break;
      case ScanView::Sounds:
        ScanSounds(ctx_, catalogue_.sounds(), box);
        break;
      case ScanView::None:
        checkTxt.text = "Error";
        break;
    }
  }

  if (missingFound == 1)
    ctx_.dialogs.msgBox(ScanSummary(result_), "Missing files", core::Buttons::OK, core::Icon::Exclamation);
  else
    ctx_.dialogs.msgBox("All files are OK!", "Files OK", core::Buttons::OK, core::Icon::Information);
}

void ScanForm::printCmd_Click() {
  if (checkTxt.text.empty()) return;
  busyPointer = true;
  statusLbl.caption.clear();
  changed();
  const std::string destination = PrintReport(ctx_, checkTxt.text);
  busyPointer = false;
  if (!destination.empty()) statusLbl.caption = "Report sent to " + destination;
  changed();
}

void ScanForm::missingChk_Click() {
  if (fullReport_.empty()) return;
  checkTxt.text = missingChk.value ? MissingOnlyReport(heading_, result_) : fullReport_;
  changed();
}

void ScanForm::okCmd_Click() {
  unload();
}

bool ScanForm::closeBox() {
  if (!okCmd.enabled) return false;
  unload();
  return true;
}

void ScanForm::Form_Unload() {
  ctx_.windows().setMainWindowEnabled(true);
}

void ShowScanDialog(core::Context& ctx, ScanView view, const manager::Catalogue& catalogue) {
  ctx.windows().setMainWindowEnabled(false);
  ScanForm form(ctx, view, catalogue);
  struct Reenable {
    ScanForm& form;
    core::Context& ctx;
    ~Reenable() {
      if (!form.unloaded()) ctx.windows().setMainWindowEnabled(true);
    }
  } reenable{form, ctx};
  ctx.dialogs.runModal(form);
}

}  // namespace scan
