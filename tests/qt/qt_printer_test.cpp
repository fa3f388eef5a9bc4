#include "qt/qt_printer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <memory>

#include "core/window_host.h"
#include "qt/qt_dialogs.h"
#include "qt/scan_view.h"
#include "scan/print_report.h"
#include "scan/scan_form.h"
#include "support/sim_fixture.h"
#include "support/temp_dir.h"

namespace {

// A context over the fixture's tree whose printer is the Qt one, writing PDF files into <tmp>/docs.
class QtPrinterTest : public testsupport::SimFixture {
 protected:
  QtPrinterTest() {
    makeSimulator(80, "FS2002");
    env.set("XDG_DOCUMENTS_DIR", root + "/docs");
  }

  core::Context& printCtx(qt::QtPrinter& qtPrinter) {
    printCtx_ = contextWith(nullptr, nullptr, &qtPrinter);
    return *printCtx_;
  }

  std::vector<std::string> pdfFiles() const {
    std::vector<std::string> out;
    for (const QString& f : QDir(QString::fromStdString(root + "/docs")).entryList({"*.pdf"}, QDir::Files))
      out.push_back(root + "/docs/" + f.toStdString());
    return out;
  }

  // Pages of a PDF file as Qt writes it: one "/Type /Page" object a page.
  static int pageCount(const std::string& bytes) {
    int pages = 0;
    for (auto pos = bytes.find("/Type /Page"); pos != std::string::npos; pos = bytes.find("/Type /Page", pos + 1))
      if (bytes.compare(pos, 12, "/Type /Pages") != 0) ++pages;
    return pages;
  }

 private:
  std::unique_ptr<core::Context> printCtx_;
};

std::string reportOf(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "Missing file: C:\\FS2002\\Aircraft\\Plane " + std::to_string(i) + "\r\n";
  return text + "----- Scanning done! -----";
}

TEST_F(QtPrinterTest, ReportLongerThanTwoPagesBecomesAThreePagePdf) {
  qt::QtPrinter qtPrinter(env, qt::QtPrinter::Output::Pdf);
  core::Context& pctx = printCtx(qtPrinter);
  // About 60 lines fit a page with half-inch margins.
  const std::string destination = scan::PrintReport(pctx, reportOf(140));

  const auto files = pdfFiles();
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ("PDF file " + files[0], destination);
  EXPECT_EQ(3, pageCount(testsupport::readHostFile(files[0])));
  EXPECT_FALSE(exists(pctx.appFolder() + "\\print.txt"));

  // The next document is a file of its own.
  scan::PrintReport(pctx, reportOf(3));
  EXPECT_EQ(2u, pdfFiles().size());
}

TEST_F(QtPrinterTest, WithoutASystemPrinterTheDefaultGoesToPdf) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this system has a printer";
  qt::QtPrinter qtPrinter(env);
  EXPECT_EQ("", scan::PrintReport(printCtx(qtPrinter), ""));
  EXPECT_TRUE(pdfFiles().empty());
  EXPECT_EQ("PDF file ", scan::PrintReport(printCtx(qtPrinter), reportOf(2)).substr(0, 9));
  EXPECT_EQ(1u, pdfFiles().size());
}

TEST_F(QtPrinterTest, ScanViewShowsTheReportAndWhereThePrintWent) {
  const std::string sound = "C:\\FS2002\\Aircraft\\C172\\sound\\";
  writeFile(sound + "sound.cfg", "filename=engine\r\n");
  const manager::Catalogue catalogue({}, {}, {{{"Cessna sound", sound, "c172\\sound"}}});

  qt::QtPrinter qtPrinter(env, qt::QtPrinter::Output::Pdf);
  core::Context& pctx = printCtx(qtPrinter);
  scan::ScanForm form(pctx, scan::ScanView::Sounds, catalogue);
  qt::QtDialogs qtDialogs;
  qt::ScanView view(form, qtDialogs, nullptr);
  view.show();
  auto* report = view.findChild<QPlainTextEdit*>("checkTxt");
  auto* print = view.findChild<QPushButton*>("printCmd");
  auto* status = view.findChild<QLabel*>("statusLbl");
  ASSERT_TRUE(report && print && status);

  dialogs.expectMessage("1 file is missing, in 1 entry.");
  view.findChild<QPushButton*>("scanCmd")->click();
  EXPECT_EQ("----- Scanning for missing sound files -----\n\n" + sound + "sound.cfg:\nMissing file: " + sound +
                "engine.wav\n\n----- Scanning done! -----",
            report->toPlainText().toStdString());
  print->click();
  const auto files = pdfFiles();
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ("Report sent to PDF file " + files[0], status->text().toStdString());
  // Save as PDF writes the same pages to the file the user names.
  const std::string saved = root + "/saved report.pdf";
  dialogs.expectSaveFile("Save the report as PDF", saved);
  view.findChild<QPushButton*>("savePdfCmd")->click();
  const std::string pdf = testsupport::readHostFile(saved);
  EXPECT_EQ("%PDF-", pdf.substr(0, 5));
  EXPECT_EQ(1, pageCount(pdf));
  EXPECT_EQ("Report saved as " + saved, status->text().toStdString());

  // A second scan replaces the box's text instead of adding to it.
  writeFile(sound + "engine.wav");
  dialogs.expectMessage("All files are OK!");
  view.findChild<QPushButton*>("scanCmd")->click();
  EXPECT_NE(std::string::npos, report->toPlainText().toStdString().find("sound.cfg:\nSound: OK\n\n-----"));
  EXPECT_EQ(std::string::npos, report->toPlainText().toStdString().find("engine.wav"));
  EXPECT_TRUE(status->text().isEmpty());

  // The check box leaves out the entry that lacks nothing now.
  auto* missingOnly = view.findChild<QCheckBox*>("missingChk");
  ASSERT_TRUE(missingOnly && missingOnly->isEnabled());
  missingOnly->click();
  EXPECT_EQ("----- Scanning for missing sound files -----\n\n----- Scanning done! -----",
            report->toPlainText().toStdString());
  missingOnly->click();
  EXPECT_NE(std::string::npos, report->toPlainText().toStdString().find("Sound: OK"));
}

}  // namespace
