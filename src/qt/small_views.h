#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace core {
class FsOptForm;
}
namespace ui {
class AboutForm;
class NameForm;
class StartForm;
}  // namespace ui

#include "qt/form_dialog.h"

namespace qt {

// startFrm: the first-run greeting.
class StartView : public FormDialog {
 public:
  StartView(ui::StartForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override {}
};

// aboutFrm.
class AboutView : public FormDialog {
 public:
  AboutView(ui::AboutForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override {}
};

// fsOptFrm: the version chooser.
class FsOptView : public FormDialog {
 public:
  FsOptView(core::FsOptForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override;
  core::FsOptForm& fs_;
  QRadioButton* fs2002_;
  QRadioButton* fs2000_;
  QRadioButton* fs98_;
};

// nameFrm: the name prompt. Escape cancels it, as Cancel does.
class NameView : public FormDialog {
 public:
  NameView(ui::NameForm& form, QtDialogs& dialogs, QWidget* parent);

 protected:
  void reject() override;

 private:
  void render() override;
  ui::NameForm& name_;
  QLabel* label_;
  QLineEdit* text_;
};

// Registers the views above, the options dialog's and nothing else.
void registerShellViews(QtDialogs& dialogs);

}  // namespace qt
