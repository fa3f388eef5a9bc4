#include "qt/option_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/drive_folder_view.h"
#include "ui/option_form.h"

namespace qt {

namespace {
QString q(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

OptionView::OptionView(ui::OptionForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), opt_(form) {
  auto* grid = new QGridLayout(this);

  auto* options = new QGroupBox(q(form.Frame3), this);
  auto* optionsLayout = new QVBoxLayout(options);
  manChk_ = new QCheckBox(q(form.manChk.caption), options);
  addonChk_ = new QCheckBox(q(form.addonChk.caption), options);
  folderChk_ = new QCheckBox(q(form.folderChk.caption), options);
  docChk_ = new QCheckBox(q(form.docChk.caption), options);
  assChk_ = new QCheckBox(q(form.assChk.caption), options);
  for (auto* c : {manChk_, addonChk_, folderChk_, docChk_, assChk_}) optionsLayout->addWidget(c);

  auto* version = new QGroupBox(q(form.Frame2), this);
  auto* versionLayout = new QVBoxLayout(version);
  fs2002_ = new QRadioButton(q(form.fs2002Opt.caption), version);
  fs2000_ = new QRadioButton(q(form.fs2000Opt.caption), version);
  fs98_ = new QRadioButton(q(form.fs98Opt.caption), version);
  for (auto* b : {fs2002_, fs2000_, fs98_}) {
    b->setAutoExclusive(false);  // the form decides which one is on
    versionLayout->addWidget(b);
  }

  auto* scenery = new QGroupBox(q(form.Frame1), this);
  auto* sceneryLayout = new QVBoxLayout(scenery);
  scenery_ = new DriveFolderView(scenery);
  scenery_->setMinimumHeight(180);
  sceneryLayout->addWidget(scenery_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(q(form.okCmd.caption), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(q(form.cancelCmd.caption), this);
  cancel->setAutoDefault(false);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  grid->addWidget(options, 0, 0);
  grid->addWidget(version, 1, 0);
  grid->addWidget(scenery, 0, 1, 2, 1);
  foundLbl_ = new QLabel(this);
  foundLbl_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  foundLbl_->setWordWrap(true);
  grid->addWidget(foundLbl_, 2, 0, 1, 2);
  grid->addLayout(buttons, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  auto check = [this](QCheckBox* box, core::CheckBox& model) {
    connect(box, &QCheckBox::clicked, this, [this, &model](bool on) { act([&] { model.value = on ? 1 : 0; }); });
  };
  check(manChk_, form.manChk);
  check(addonChk_, form.addonChk);
  check(folderChk_, form.folderChk);
  check(docChk_, form.docChk);
  check(assChk_, form.assChk);
  connect(fs2002_, &QRadioButton::clicked, this, [this] { act([this] { opt_.select(opt_.fs2002Opt); }); });
  connect(fs2000_, &QRadioButton::clicked, this, [this] { act([this] { opt_.select(opt_.fs2000Opt); }); });
  connect(fs98_, &QRadioButton::clicked, this, [this] { act([this] { opt_.select(opt_.fs98Opt); }); });
  scenery_->onDrivePicked = [this](const std::string& d) { act([&] { opt_.ScenDrv_Change(d); }); };
  scenery_->onFolderOpened = [this](const std::string& f) { act([&] { opt_.ScenDir_Open(f); }); };
  connect(ok, &QPushButton::clicked, this, [this] { act([this] { opt_.okCmd_Click(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { act([this] { opt_.cancelCmd_Click(); }); });
  resize(600, 380);
  ready();
}

void OptionView::render() {
  auto show = [](QCheckBox* box, const core::CheckBox& model) { box->setChecked(model.value == 1); };
  show(manChk_, opt_.manChk);
  show(addonChk_, opt_.addonChk);
  show(folderChk_, opt_.folderChk);
  show(docChk_, opt_.docChk);
  show(assChk_, opt_.assChk);
  auto radio = [](QRadioButton* b, const core::OptionButton& model) {
    b->setChecked(model.value);
    b->setEnabled(model.enabled);
  };
  radio(fs2002_, opt_.fs2002Opt);
  radio(fs2000_, opt_.fs2000Opt);
  radio(fs98_, opt_.fs98Opt);
  scenery_->render(opt_.ScenDrv, opt_.ScenDir);
  foundLbl_->setText(q(opt_.foundLbl));
}

}  // namespace qt
