#include "scan/print_report.h"

#include "core/codepage.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/printer.h"
#include "core/text.h"
#include "scan/report_box.h"
#include "scan/scan_files.h"

namespace scan {

std::string PrintFileText(std::string_view report) {
  std::string text(report);
  text += CRLF;
  for (int i = 0; i < 3; ++i) text += CRLF;
  text += "Hangarpak 2000 (Version 3.2)";
  text += CRLF;
  text += kPrintNotice;
  text += CRLF;
  return text;
}

void PrintLines(core::Printer& printer, std::string_view text) {
  const double bottom = printer.pageHeight() - kPrintMargin;
  printer.setCurrentX(kPrintMargin);
  printer.setCurrentY(kPrintMargin);
  for (std::string_view line : SplitLines(text)) {
    if (printer.currentY() + printer.textHeight(line) > bottom) {
      printer.newPage();
      printer.setCurrentX(kPrintMargin);
      printer.setCurrentY(kPrintMargin);
    }
    printer.printLine(line);
    printer.setCurrentX(kPrintMargin);
  }
}

void PrintReportOn(core::Printer& printer, std::string_view report) {
  printer.setFont("Arial", 10);
  PrintLines(printer, PrintFileText(report));
  printer.endDoc();
}

std::string PrintReport(core::Context& ctx, std::string_view report) {
  if (report.empty()) return {};
  core::Printer& printer = ctx.printer;
  const std::string file = core::joinPath(ctx.appFolder(), "print.txt");

  bool ok = core::step([&] { printer.setFont("Arial", 10); });
  // A failed write must not let an older print.txt be printed instead.
  ok = core::step([&] { ctx.fs.writeFile(file, core::utf8ToCp1252(PrintFileText(report))); }) && ok;
  ctx.dialogs.keepPainting();

  std::string text;
  ok = ok && core::step([&] { text = core::cp1252ToUtf8(ctx.fs.readFile(file)); });
  if (ok) core::step([&] { PrintLines(printer, text); });

  std::string destination;
  core::step([&] {
    printer.endDoc();
    destination = printer.destination();
  });
  core::step([&] {
    if (ctx.fs.fileExists(file)) ctx.fs.deleteFile(file);
  });
  return destination;
}

}  // namespace scan
