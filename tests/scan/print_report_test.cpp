#include "scan/print_report.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "scan_fixture.h"
#include "support/recording_printer.h"

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
  bool printFileLeft() { return exists(printFile()); }
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

TEST_F(PrintReportTest, PrintsTheReportThenThreeBlankLinesAndTheClosingLines) {
  const std::string report =
      "C:\\FS2002\\Aircraft\\C172\\aircraft.cfg:  (Cessna, 172)\r\n  Missing, with blanks\r\n\r\n"
      "----- Scanning done! -----";
  EXPECT_EQ("printer Test", scan::PrintReport(*printCtx, report));

  EXPECT_EQ((std::vector<std::string>{"C:\\FS2002\\Aircraft\\C172\\aircraft.cfg:  (Cessna, 172)",
                                      "  Missing, with blanks", "", "----- Scanning done! -----", "", "", "",
                                      "Hangarpak 2000 (Version 3.2)", std::string(scan::kPrintNotice)}),
            printedTexts());
  EXPECT_EQ("Arial", prn.fontName);
  EXPECT_EQ(10, prn.fontSize);
  EXPECT_EQ(1, prn.documentsEnded);
  // The file went through the application folder and is gone.
  EXPECT_EQ(host(printFile()), host(fwd.lastWrittenPath));
  EXPECT_EQ(scan::PrintFileText(report), fwd.lastWritten);
  EXPECT_FALSE(printFileLeft());

  // An empty report prints nothing.
  EXPECT_EQ("", scan::PrintReport(*printCtx, ""));
  EXPECT_EQ(1, prn.documentsEnded);
}

TEST_F(PrintReportTest, LongReportContinuesOnNewPagesAtHalfAnInch) {
  // 10 pt lines are 200 twips; a page of 4040 twips keeps 720 at the bottom,
  // so the 13th line (at 3120) ends exactly on the limit and still fits.
  prn.pageHeightTwips = 4040;
  scan::PrintReport(*printCtx, reportOf(30));

  ASSERT_EQ(35u, prn.lines.size());  // 30 + 3 blank + 2 closing
  for (std::size_t i = 0; i < prn.lines.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& line = prn.lines[i];
    EXPECT_EQ(static_cast<int>(i / 13) + 1, line.page);
    EXPECT_EQ(720, line.x);
    EXPECT_EQ(720 + 200.0 * static_cast<double>(i % 13), line.y);
    EXPECT_LE(line.y + 200, 4040 - 720);
  }
  EXPECT_EQ("line 14", prn.lines[13].text);
  EXPECT_EQ(3, prn.page);
}

struct FailureCase {
  const char* name;
  bool failFont;
  bool failWrite;
  bool failRead;
  int failAtLine;
  std::size_t linesPrinted;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class PrintFailureTest : public PrintReportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PrintFailureTest, EndsTheDocumentAndLeavesNoPrintFile) {
  const FailureCase& c = GetParam();
  // An earlier run's file must neither be printed nor stay behind.
  writeFile(printFile(), "stale line\r\n");
  prn.failFont = c.failFont;
  prn.failAtLine = c.failAtLine;
  const std::string file = host(printFile());
  fwd.failWrite = [&](std::string_view p) { return c.failWrite && host(p) == file; };
  fwd.failRead = [&](std::string_view p) { return c.failRead && host(p) == file; };

  scan::PrintReport(*printCtx, reportOf(5));

  EXPECT_EQ(c.linesPrinted, prn.lines.size());
  for (const auto& line : prn.lines) EXPECT_NE("stale line", line.text);
  EXPECT_EQ(1, prn.documentsEnded);
  EXPECT_FALSE(printFileLeft());
}

const FailureCase kFailures[] = {
    {"NoFont", true, false, false, -1, 0},
    {"FileNotWritable", false, true, false, -1, 0},
    {"FileNotReadable", false, false, true, -1, 0},
    {"PrinterRefusesThirdLine", false, false, false, 2, 2},
};

INSTANTIATE_TEST_SUITE_P(Failures, PrintFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scantest
