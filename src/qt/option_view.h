#pragma once

#include "qt/form_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ui {
class OptionForm;
}

namespace qt {

class DriveFolderView;

// optionFrm.
class OptionView : public FormDialog {
 public:
  OptionView(ui::OptionForm& form, QtDialogs& dialogs, QWidget* parent);

 private:
  void render() override;

  ui::OptionForm& opt_;
  QCheckBox* manChk_;
  QCheckBox* addonChk_;
  QCheckBox* folderChk_;
  QCheckBox* docChk_;
  QCheckBox* assChk_;
  QRadioButton* fs2002_;
  QRadioButton* fs2000_;
  QRadioButton* fs98_;
  DriveFolderView* scenery_;
  QLabel* foundLbl_;
};

}  // namespace qt
