#include "qt/qt_printer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>
#include <utility>

#include "core/atomic_file.h"
#include "core/environment.h"
#include "core/errors.h"

namespace qt {

namespace {
constexpr double kTwipsPerInch = 1440;
}

namespace {
// $XDG_DOCUMENTS_DIR as user-dirs.dirs writes it may still start with "$HOME".
std::string documentsFolder(const core::Environment& env) {
  std::string folder = env.getOr("XDG_DOCUMENTS_DIR", "");
  if (folder.starts_with("$HOME")) folder = env.home() + folder.substr(5);
  return folder.empty() ? env.home() + "/Documents" : folder;
}
}  // namespace

QtPrinter::QtPrinter(const core::Environment& env, Output output) : pdfFolder_(documentsFolder(env)), output_(output) {
  prepare();
}

QtPrinter::QtPrinter(std::string pdfFile) : pdfFile_(std::move(pdfFile)), output_(Output::Pdf) {
  prepare();
}

std::unique_ptr<core::Printer> QtPrinter::pdfFile(const std::string& hostPath) {
  return std::make_unique<QtPrinter>(hostPath);
}

QtPrinter::~QtPrinter() {
  if (painter_.isActive()) painter_.end();
}

// A fresh QPrinter per document: a PDF file name is taken when the document
// starts, and a finished QPrinter cannot start another.
void QtPrinter::prepare() {
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer_->setFullPage(true);  // the margins are the report's own
  const QPrinterInfo system = QPrinterInfo::defaultPrinter();
  toPdf_ = output_ == Output::Pdf || system.isNull();
  if (toPdf_) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
  } else {
    printer_->setPrinterName(system.printerName());
  }
  printer_->setDocName("Hangarpak report");
}

void QtPrinter::setFont(std::string_view name, double sizePoints) {
  font_ = QFont(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  font_.setPointSizeF(sizePoints);
  if (painter_.isActive()) painter_.setFont(font_);
}

double QtPrinter::twipsPerDot() const {
  return kTwipsPerInch / printer_->resolution();
}

double QtPrinter::pageHeight() const {
  // 20 twips to the point.
  return printer_->pageLayout().fullRect(QPageLayout::Point).height() * 20;
}

double QtPrinter::textHeight(std::string_view) const {
  return QFontMetricsF(font_, printer_.get()).height() * twipsPerDot();
}

std::string QtPrinter::nextPdfPath() const {
  const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
  const QString base = QString::fromStdString(pdfFolder_) + "/hangarpak-report-" + stamp;
  QString path = base + ".pdf";
  for (int n = 2; QFileInfo::exists(path); ++n) path = base + "-" + QString::number(n) + ".pdf";
  return path.toStdString();
}

void QtPrinter::begin() {
  if (painter_.isActive()) return;
  if (!pdfFile_.empty()) {
    // Written beside the file under a temporary name, so that a document
    // that fails half-way leaves the file as it was.
    replacement_ = std::make_unique<core::AtomicHostFile>(pdfFile_);
    printer_->setOutputFileName(QString::fromStdString(replacement_->temporaryPath()));
    pending_ = "PDF file " + pdfFile_;
  } else if (toPdf_) {
    if (!QDir().mkpath(QString::fromStdString(pdfFolder_)))
      throw core::RuntimeError(core::err::PathNotFound, "Cannot make " + pdfFolder_);
    const std::string path = nextPdfPath();
    printer_->setOutputFileName(QString::fromStdString(path));
    pending_ = "PDF file " + path;
  } else {
    pending_ = "printer " + printer_->printerName().toStdString();
  }
  if (!painter_.begin(printer_.get()))
    throw core::RuntimeError(core::err::DeviceUnavailable, "Cannot print on " + pending_);
  painter_.setFont(font_);
}

void QtPrinter::printLine(std::string_view text) {
  begin();
  const double dot = twipsPerDot();
  const QFontMetricsF metrics(font_, printer_.get());
  // The current position is the top of the line; Qt draws on the baseline.
  painter_.drawText(QPointF(x_ / dot, y_ / dot + metrics.ascent()),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  x_ = 0;
  y_ += metrics.height() * dot;
}

void QtPrinter::newPage() {
  begin();
  if (!printer_->newPage()) throw core::RuntimeError(core::err::DeviceUnavailable, "Cannot start a page");
  x_ = 0;
  y_ = 0;
}

void QtPrinter::endDoc() {
  x_ = 0;
  y_ = 0;
  if (!painter_.isActive()) {
    destination_.clear();
    return;
  }
  const bool done = painter_.end();
  const auto replacement = std::move(replacement_);
  destination_.clear();
  prepare();
  if (!done) throw core::RuntimeError(core::err::DeviceUnavailable, "Cannot finish the document");
  if (replacement) replacement->commit();
  destination_ = pending_;
}

}  // namespace qt
