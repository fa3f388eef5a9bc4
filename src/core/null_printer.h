#pragma once

#include "core/printer.h"

namespace core {

// A printer that prints nothing, for runs that have none (hangarpak-cli,
// the fuzz targets); its page is a letter page of 12-point lines.
class NullPrinter : public Printer {
 public:
  void setFont(std::string_view, double) override {}
  double pageHeight() const override { return 15840; }
  double textHeight(std::string_view) const override { return 240; }
  double currentX() const override { return 0; }
  double currentY() const override { return 0; }
  void setCurrentX(double) override {}
  void setCurrentY(double) override {}
  void printLine(std::string_view) override {}
  void newPage() override {}
  void endDoc() override {}
};

}  // namespace core
