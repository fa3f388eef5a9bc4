#include "scan/print_report.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "scan_fixture.h"

namespace scantest {
namespace {

// A recording printer that refuses calls once told to.
class FailingPrinter : public testsupport::RecordingPrinter {
 public:
  bool failFont = false;
  int failAtLine = -1;  // index of the printed line that fails
  void setFont(std::string_view name, double size) override {
    if (failFont) throw core::RuntimeError(482, "Printer error");
    RecordingPrinter::setFont(name, size);
  }
  void printLine(std::string_view text) override {
    if (static_cast<int>(lines.size()) == failAtLine) throw core::RuntimeError(482, "Printer error");
    RecordingPrinter::printLine(text);
  }
  std::string destination() const override { return documentsEnded ? "printer Test" : ""; }
};

class PrintReportTest : public ScanFixture {
 protected:
  PrintReportTest() : printCtx(contextWith(&fwd, nullptr, &prn)) {}

  std::string printFile() { return ctx().appFolder() + "\\print.txt"; }
  std::vector<std::string> printedTexts() const {
    std::vector<std::string> out;
    for (const auto& l : prn.lines) out.push_back(l.text);
    return out;
  }

  FailingPrinter prn;
  std::unique_ptr<core::Context> printCtx;
};

// A report of n numbered lines, as a scan ends it (no final line end).
std::string reportOf(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "line " + std::to_string(i) + (i < n ? "\r\n" : "");
  return text;
}

// The report, three blank lines and the closing lines, in 10 pt Arial at
// half an inch from the edges, continued on a new page at half an inch from
// the bottom; the file goes through the application folder and is gone.
TEST_F(PrintReportTest, PrintsTheReportThenThreeBlankLinesAndTheClosingLines) {
  const std::string report = "C:\\FS2002\\Aircraft\\C172\\aircraft.cfg:  (Cessna, 172)\r\n  Missing, with blanks\r\n" +
                             reportOf(26) + "\r\n\r\n" + kScanDone;
  // 10 pt lines are 200 twips; a page of 4040 twips keeps 720 at the bottom,
  // so the 13th line (at 3120) ends exactly on the limit and still fits.
  prn.pageHeightTwips = 4040;
  EXPECT_EQ("printer Test", scan::PrintReport(*printCtx, report));

  std::vector<std::string> expected{"C:\\FS2002\\Aircraft\\C172\\aircraft.cfg:  (Cessna, 172)",
                                    "  Missing, with blanks"};
  for (int i = 1; i <= 26; ++i) expected.push_back("line " + std::to_string(i));
  for (const char* line :
       {"", kScanDone.c_str(), "", "", "", "Hangarpak 2000 (Version 3.2)", scan::kPrintNotice.data()})
    expected.push_back(line);
  EXPECT_EQ(expected, printedTexts());
  for (std::size_t i = 0; i < prn.lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(static_cast<int>(i / 13) + 1, prn.lines[i].page);
    EXPECT_EQ(720, prn.lines[i].x);
    EXPECT_EQ(720 + 200.0 * static_cast<double>(i % 13), prn.lines[i].y);
  }
  EXPECT_EQ(3, prn.page);
  EXPECT_EQ("Arial", prn.fontName);
  EXPECT_EQ(10, prn.fontSize);
  EXPECT_EQ(1, prn.documentsEnded);
  EXPECT_EQ(host(printFile()), host(fwd.lastWrittenPath));
  EXPECT_EQ(scan::PrintFileText(report), fwd.lastWritten);
  EXPECT_FALSE(exists(printFile()));

  // An empty report prints nothing.
  EXPECT_EQ("", scan::PrintReport(*printCtx, ""));
  EXPECT_EQ(1, prn.documentsEnded);
}

// However printing fails, the document is ended and no print file stays
// behind; an earlier run's file is never printed.
TEST_F(PrintReportTest, AFailureEndsTheDocumentAndLeavesNoPrintFile) {
  const struct {
    const char* name;
    bool failFont, failWrite, failRead;
    int failAtLine;
    std::size_t linesPrinted;
  } cases[] = {{"NoFont", true, false, false, -1, 0},
               {"FileNotWritable", false, true, false, -1, 0},
               {"FileNotReadable", false, false, true, -1, 0},
               {"PrinterRefusesThirdLine", false, false, false, 2, 2}};
  const std::string file = host(printFile());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(printFile(), "stale line\r\n");
    prn.lines.clear();
    prn.documentsEnded = 0;
    prn.failFont = c.failFont;
    prn.failAtLine = c.failAtLine;
    fwd.failWrite = [&](std::string_view p) { return c.failWrite && host(p) == file; };
    fwd.failRead = [&](std::string_view p) { return c.failRead && host(p) == file; };

    scan::PrintReport(*printCtx, reportOf(5));

    EXPECT_EQ(c.linesPrinted, prn.lines.size());
    for (const auto& line : prn.lines) EXPECT_NE("stale line", line.text);
    EXPECT_EQ(1, prn.documentsEnded);
    EXPECT_FALSE(exists(printFile()));
  }
}

}  // namespace
}  // namespace scantest
