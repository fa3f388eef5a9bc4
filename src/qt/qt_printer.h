#pragma once

#include <QFont>
#include <QPainter>
#include <memory>
#include <string>

#include "core/printer.h"

class QPrinter;

namespace core {
class AtomicHostFile;
class Environment;
}  // namespace core

namespace qt {

// The Printer seam on Qt: the system's default printer, or, on a system
// without one, a PDF file in the user's documents folder ($XDG_DOCUMENTS_DIR,
// else ~/Documents), so a report is never silently lost; or one PDF file
// the user named, replaced only by a finished document. Coordinates are
// twips from the paper's top left corner. The document starts with its
// first line or page and ends with endDoc(); the next line starts a new one.
class QtPrinter : public core::Printer {
 public:
  enum class Output { DefaultPrinter, Pdf };

  explicit QtPrinter(const core::Environment& env, Output output = Output::DefaultPrinter);
  // Every document goes to the PDF file at hostPath.
  explicit QtPrinter(std::string pdfFile);
  ~QtPrinter() override;

  void setFont(std::string_view name, double sizePoints) override;
  double pageHeight() const override;
  double textHeight(std::string_view text) const override;
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void printLine(std::string_view text) override;
  void newPage() override;
  void endDoc() override;
  std::string destination() const override { return destination_; }
  std::unique_ptr<core::Printer> pdfFile(const std::string& hostPath) override;

  // Where a PDF goes when there is no printer.
  const std::string& pdfFolder() const { return pdfFolder_; }

 private:
  void prepare();
  void begin();
  double twipsPerDot() const;
  std::string nextPdfPath() const;

  std::string pdfFolder_;
  std::string pdfFile_;  // the one file every document goes to, if named
  Output output_;
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  QFont font_;
  bool toPdf_ = false;
  // The named file's replacement while a document is being written.
  std::unique_ptr<core::AtomicHostFile> replacement_;
  std::string pending_;  // destination of the document being printed
  std::string destination_;
  double x_ = 0;
  double y_ = 0;
};

}  // namespace qt
