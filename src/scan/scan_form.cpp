#include "scan/scan_form.h"

#include <cctype>
#include <optional>

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/printer.h"
#include "core/simulator.h"
#include "scan/print_report.h"
#include "scan/report_box.h"
#include "scan/report_text.h"
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
  saveTxtCmd.enabled = false;
  savePdfCmd.enabled = false;
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
        form.saveTxtCmd.enabled = true;
        form.savePdfCmd.enabled = true;
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

void ScanForm::saveTxtCmd_Click() {
  save("Save the report as text", "Text files|*.txt", reportFileName(".txt"),
       [this](const std::string& path) { core::writeFileAtomically(path, ReportFileText(checkTxt.text)); });
}

void ScanForm::savePdfCmd_Click() {
  save("Save the report as PDF", "PDF files|*.pdf", reportFileName(".pdf"), [this](const std::string& path) {
    const auto pdf = ctx_.printer.pdfFile(path);
    if (!pdf) throw core::RuntimeError(core::err::DeviceUnavailable, "No PDF file can be made here");
    PrintReportOn(*pdf, checkTxt.text);
  });
}

void ScanForm::save(std::string_view title, std::string_view filter, std::string_view name,
                    const std::function<void(const std::string&)>& write) {
  if (checkTxt.text.empty()) return;
  const auto path = ctx_.dialogs.saveFile(title, filter, name);
  if (!path) return;
  busyPointer = true;
  statusLbl.caption.clear();
  changed();
  std::optional<core::RuntimeError> failure;
  try {
    write(*path);
  } catch (const core::RuntimeError& e) {
    failure = e;
  }
  busyPointer = false;
  if (!failure) statusLbl.caption = "Report saved as " + *path;
  changed();
  if (!failure) return;
  std::string cause = core::inWords(*failure);
  if (!cause.empty()) cause[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(cause[0])));
  ctx_.dialogs.msgBox(
      "The report could not be saved as " + *path + "." + std::string(CRLF) + std::string(CRLF) + cause + ".",
      "Report not saved", core::Buttons::OK, core::Icon::Exclamation);
}

std::string ScanForm::reportFileName(std::string_view extension) const {
  const char* kind = view_ == ScanView::Aircraft ? "aircraft" : view_ == ScanView::Panels ? "panel" : "sound";
  return std::string(view_ == ScanView::None ? "scan-report" : "missing-" + std::string(kind) + "-files") +
         std::string(extension);
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
