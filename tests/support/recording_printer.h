#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/printer.h"

namespace testsupport {

// A printer that records where each line went. A line is fontSize * 20
// twips high; the page height is set by the test. Its PDF files hold the
// lines as text, one a line, written when the document ends.
class RecordingPrinter : public core::Printer {
 public:
  struct Line {
    int page;
    double x;
    double y;
    std::string text;
  };

  double pageHeightTwips = 15840;  // 11 inches

  void setFont(std::string_view name, double sizePoints) override {
    fontName = std::string(name);
    fontSize = sizePoints;
  }
  double pageHeight() const override { return pageHeightTwips; }
  double textHeight(std::string_view) const override { return fontSize * 20; }
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void printLine(std::string_view text) override {
    lines.push_back({page, x_, y_, std::string(text)});
    x_ = 0;
    y_ += textHeight(text);
  }
  void newPage() override {
    ++page;
    x_ = y_ = 0;
  }
  void endDoc() override {
    ++documentsEnded;
    std::string text;
    for (const auto& line : lines) text += line.text + "\n";
    if (!pdfPath_.empty()) core::writeFileAtomically(pdfPath_, text);
  }
  std::unique_ptr<core::Printer> pdfFile(const std::string& hostPath) override {
    auto pdf = std::make_unique<RecordingPrinter>();
    pdf->pdfPath_ = hostPath;
    return pdf;
  }

  std::string fontName;
  double fontSize = 12;
  int page = 1;
  int documentsEnded = 0;
  std::vector<Line> lines;

 private:
  double x_ = 0;
  double y_ = 0;
  std::string pdfPath_;
};

}  // namespace testsupport
