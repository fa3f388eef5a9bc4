#include "qt/form_dialog.h"

#include <QCloseEvent>

#include "core/form.h"
#include "qt/qt_dialogs.h"

namespace qt {

FormDialog::FormDialog(core::Form& form, QtDialogs& dialogs, QWidget* parent)
    : QDialog(parent), form_(form), dialogs_(dialogs) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

FormDialog::~FormDialog() {
  form_.onChange = nullptr;
}

void FormDialog::ready() {
  form_.onChange = [this] { sync(); };
  sync();
}

void FormDialog::sync() {
  setWindowTitle(QString::fromStdString(form_.caption));
  render();
}

void FormDialog::act(const std::function<void()>& handler) {
  dialogs_.run(handler);
  if (!isVisible()) return;  // the program ended and closed this dialog
  if (form_.unloaded())
    done(QDialog::Accepted);
  else
    sync();
}

void FormDialog::closeEvent(QCloseEvent* event) {
  if (form_.unloaded()) {
    event->accept();
    return;
  }
  bool mayClose = false;
  dialogs_.run([&] { mayClose = form_.closeBox(); });
  if (mayClose || form_.unloaded()) {
    event->accept();
    done(QDialog::Rejected);
  } else {
    event->ignore();
  }
}

}  // namespace qt
