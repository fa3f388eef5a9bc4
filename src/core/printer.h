#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace core {

// The default printer, measured in twips (1440 per inch) like the classic
// printer object the report layout is written for.
class Printer {
 public:
  virtual ~Printer() = default;
  virtual void setFont(std::string_view name, double sizePoints) = 0;
  virtual double pageHeight() const = 0;  // printable height of a page
  virtual double textHeight(std::string_view text) const = 0;
  virtual double currentX() const = 0;
  virtual double currentY() const = 0;
  virtual void setCurrentX(double x) = 0;
  virtual void setCurrentY(double y) = 0;
  // Prints text at the current position and moves to the start of the next
  // line (x back to 0, y down by one line).
  virtual void printLine(std::string_view text) = 0;
  virtual void newPage() = 0;
  virtual void endDoc() = 0;
  // Where the output went, for the status shown to the user ("printer X",
  // "/home/u/Documents/report.pdf"); empty until endDoc().
  virtual std::string destination() const { return {}; }
  // A printer of the same kind that lays its one document out as the PDF
  // file at hostPath. The file is replaced only once endDoc() finished the
  // document; a failure or a printer dropped before then leaves any earlier
  // file as it was. nullptr where no PDF file can be made.
  virtual std::unique_ptr<Printer> pdfFile(const std::string& /*hostPath*/) { return nullptr; }
};

}  // namespace core
