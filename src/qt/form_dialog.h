#pragma once

#include <QDialog>
#include <functional>

namespace core {
class Form;
}

namespace qt {

class QtDialogs;

// The frame of every view of one of the program's own modal dialogs: it
// re-renders when the form changes, runs the form's handlers through the
// dialogs seam, closes once the form has unloaded, and asks the form before
// the close box closes it. Escape does nothing, as on the original forms.
class FormDialog : public QDialog {
 public:
  FormDialog(core::Form& form, QtDialogs& dialogs, QWidget* parent);
  ~FormDialog() override;

 protected:
  // Runs a handler, then renders or closes.
  void act(const std::function<void()>& handler);
  virtual void render() = 0;
  // Call at the end of the subclass's constructor.
  void ready();

  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

  core::Form& form_;
  QtDialogs& dialogs_;

 private:
  void sync();
};

}  // namespace qt
