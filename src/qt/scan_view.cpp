#include "qt/scan_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "qt/qt_dialogs.h"
#include "scan/scan_form.h"

namespace qt {

namespace {

// The report's CR LF line ends as the text box shows them.
QString displayText(std::string_view text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

}  // namespace

ScanView::ScanView(scan::ScanForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), scan_(form) {
  auto* layout = new QVBoxLayout(this);
  report_ = new QPlainTextEdit(this);
  report_->setObjectName("checkTxt");
  report_->setReadOnly(true);
  report_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(report_, 1);

  status_ = new QLabel(this);
  status_->setObjectName("statusLbl");
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setWordWrap(true);
  layout->addWidget(status_);

  missingOnly_ = new QCheckBox(QString::fromStdString(form.missingChk.caption), this);
  missingOnly_->setObjectName("missingChk");
  layout->addWidget(missingOnly_);

  auto* buttons = new QHBoxLayout;
  scanButton_ = new QPushButton(QString::fromStdString(form.scanCmd.caption), this);
  printButton_ = new QPushButton(QString::fromStdString(form.printCmd.caption), this);
  saveTextButton_ = new QPushButton(QString::fromStdString(form.saveTxtCmd.caption), this);
  savePdfButton_ = new QPushButton(QString::fromStdString(form.savePdfCmd.caption), this);
  closeButton_ = new QPushButton(QString::fromStdString(form.okCmd.caption), this);
  scanButton_->setObjectName("scanCmd");
  printButton_->setObjectName("printCmd");
  saveTextButton_->setObjectName("saveTxtCmd");
  savePdfButton_->setObjectName("savePdfCmd");
  closeButton_->setObjectName("okCmd");
  scanButton_->setDefault(true);
  buttons->addWidget(scanButton_);
  buttons->addWidget(printButton_);
  buttons->addWidget(saveTextButton_);
  buttons->addWidget(savePdfButton_);
  buttons->addStretch();
  buttons->addWidget(closeButton_);
  layout->addLayout(buttons);

  connect(scanButton_, &QPushButton::clicked, this, [this] { act([this] { scan_.scanCmd_Click(); }); });
  connect(printButton_, &QPushButton::clicked, this, [this] { act([this] { scan_.printCmd_Click(); }); });
  connect(saveTextButton_, &QPushButton::clicked, this, [this] { act([this] { scan_.saveTxtCmd_Click(); }); });
  connect(savePdfButton_, &QPushButton::clicked, this, [this] { act([this] { scan_.savePdfCmd_Click(); }); });
  connect(missingOnly_, &QCheckBox::clicked, this, [this](bool checked) {
    act([this, checked] {
      scan_.missingChk.value = checked ? 1 : 0;
      scan_.missingChk_Click();
    });
  });
  connect(closeButton_, &QPushButton::clicked, this, [this] { act([this] { scan_.okCmd_Click(); }); });
  resize(720, 460);
  ready();
}

void ScanView::showReport() {
  const std::string& text = scan_.checkTxt.text;
  if (text.size() >= shown_.size() && text.compare(0, shown_.size(), shown_) == 0) {
    if (text.size() == shown_.size()) return;
    QTextCursor end(report_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(displayText(std::string_view(text).substr(shown_.size())));
  } else {
    report_->setPlainText(displayText(text));
  }
  shown_ = text;
}

void ScanView::render() {
  showReport();
  status_->setText(QString::fromStdString(scan_.statusLbl.caption));
  status_->setVisible(!scan_.statusLbl.caption.empty());
  scanButton_->setEnabled(scan_.scanCmd.enabled && !scan_.busyPointer);
  printButton_->setEnabled(scan_.printCmd.enabled && !scan_.busyPointer);
  saveTextButton_->setEnabled(scan_.saveTxtCmd.enabled && !scan_.busyPointer);
  savePdfButton_->setEnabled(scan_.savePdfCmd.enabled && !scan_.busyPointer);
  closeButton_->setEnabled(scan_.okCmd.enabled);
  missingOnly_->setChecked(scan_.missingChk.value != 0);
  missingOnly_->setEnabled(scan_.missingChk.enabled && !scan_.busyPointer);

  if (scan_.busyPointer != busy_) {
    busy_ = scan_.busyPointer;
    if (busy_)
      setCursor(Qt::WaitCursor);
    else
      unsetCursor();
  }
  if (busy_) {
    // A scan runs inside the Scan button's handler: follow the report's end
    // and paint now, without taking input.
    report_->verticalScrollBar()->setValue(report_->verticalScrollBar()->maximum());
    dialogs_.keepPainting();
  }
}

void registerScanView(QtDialogs& dialogs) {
  dialogs.registerView<scan::ScanForm, ScanView>();
}

}  // namespace qt
