#include "qt/small_views.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/simulator.h"
#include "qt/icons.h"
#include "qt/option_view.h"
#include "qt/qt_dialogs.h"
#include "ui/about_form.h"
#include "ui/name_form.h"
#include "ui/option_form.h"
#include "ui/start_form.h"

namespace qt {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

QLabel* wrapped(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(q(text), parent);
  label->setWordWrap(true);
  return label;
}

QLabel* logo(QWidget* parent, int w, int h) {
  auto* label = new QLabel(parent);
  label->setPixmap(logoPicture(w, h));
  label->setFixedSize(w, h);
  return label;
}

QPushButton* defaultButton(const std::string& caption, QWidget* parent) {
  auto* b = new QPushButton(q(caption), parent);
  b->setDefault(true);
  b->setAutoDefault(true);
  return b;
}

}  // namespace

StartView::StartView(ui::StartForm& form, QtDialogs& dialogs, QWidget* parent) : FormDialog(form, dialogs, parent) {
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(logo(this, 120, 120), 0, Qt::AlignTop);
  auto* right = new QVBoxLayout;
  auto* version = new QLabel(q(form.versionLbl.caption), this);
  QFont bold = version->font();
  bold.setBold(true);
  version->setFont(bold);
  right->addWidget(version);
  right->addWidget(wrapped(form.greetingLbl.caption, this));
  right->addStretch();
  auto* ok = defaultButton(form.okCmd.caption, this);
  right->addWidget(ok, 0, Qt::AlignRight);
  layout->addLayout(right, 1);
  connect(ok, &QPushButton::clicked, this, [this, &form] { act([&] { form.okCmd_Click(); }); });
  setMinimumWidth(420);
  ready();
}

AboutView::AboutView(ui::AboutForm& form, QtDialogs& dialogs, QWidget* parent) : FormDialog(form, dialogs, parent) {
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(logo(this, 110, 110), 0, Qt::AlignTop);
  auto* right = new QVBoxLayout;
  auto* version = new QLabel(q(form.versionLbl.caption), this);
  QFont big = version->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  version->setFont(big);
  right->addWidget(version);
  right->addWidget(wrapped(form.titleLbl.caption, this));
  right->addSpacing(8);
  auto* features = new QLabel(q(form.featuresLbl.caption), this);
  QFont bold = features->font();
  bold.setBold(true);
  features->setFont(bold);
  right->addWidget(features);
  for (const auto& label : form.featureLbls) right->addWidget(wrapped(label.caption, this));
  right->addStretch();
  auto* ok = defaultButton(form.okCmd.caption, this);
  right->addWidget(ok, 0, Qt::AlignRight);
  layout->addLayout(right, 1);
  connect(ok, &QPushButton::clicked, this, [this, &form] { act([&] { form.okCmd_Click(); }); });
  setMinimumWidth(460);
  ready();
}

FsOptView::FsOptView(core::FsOptForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), fs_(form) {
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(q(form.versionFra), this);
  auto* buttons = new QVBoxLayout(frame);
  fs2002_ = new QRadioButton(q(form.fs2002Opt.caption), frame);
  fs2000_ = new QRadioButton(q(form.fs2000Opt.caption), frame);
  fs98_ = new QRadioButton(q(form.fs98Opt.caption), frame);
  for (auto* b : {fs2002_, fs2000_, fs98_}) buttons->addWidget(b);
  layout->addWidget(frame);
  auto* ok = defaultButton(form.Command1.caption, this);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(fs2002_, &QRadioButton::clicked, this, [this] { act([this] { fs_.select(fs_.fs2002Opt); }); });
  connect(fs2000_, &QRadioButton::clicked, this, [this] { act([this] { fs_.select(fs_.fs2000Opt); }); });
  connect(fs98_, &QRadioButton::clicked, this, [this] { act([this] { fs_.select(fs_.fs98Opt); }); });
  connect(ok, &QPushButton::clicked, this, [this] { act([this] { fs_.Command1_Click(); }); });
  ready();
}

void FsOptView::render() {
  fs2002_->setChecked(fs_.fs2002Opt.value);
  fs2000_->setChecked(fs_.fs2000Opt.value);
  fs98_->setChecked(fs_.fs98Opt.value);
}

NameView::NameView(ui::NameForm& form, QtDialogs& dialogs, QWidget* parent)
    : FormDialog(form, dialogs, parent), name_(form) {
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  text_ = new QLineEdit(this);
  layout->addWidget(label_);
  layout->addWidget(text_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* ok = defaultButton(form.okCmd.caption, this);
  auto* cancel = new QPushButton(q(form.cancelCmd.caption), this);
  cancel->setAutoDefault(false);
  row->addWidget(ok);
  row->addWidget(cancel);
  layout->addLayout(row);
  connect(text_, &QLineEdit::textEdited, this, [this](const QString& t) {
    name_.nameTxt.text = t.toStdString();
    name_.nameTxt.selStart = static_cast<std::size_t>(text_->cursorPosition());
    name_.nameTxt.selLength = 0;
  });
  connect(ok, &QPushButton::clicked, this, [this] { act([this] { name_.okCmd_Click(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { act([this] { name_.cancelCmd_Click(); }); });
  setMinimumWidth(340);
  ready();
}

void NameView::reject() {
  act([this] { name_.cancelCmd_Click(); });
}

void NameView::render() {
  label_->setText(q(name_.nameLbl.caption));
  if (text_->text().toStdString() != name_.nameTxt.text) text_->setText(q(name_.nameTxt.text));
  // Positions count characters here and bytes in the form; both agree for
  // the names a folder may carry.
  text_->setSelection(static_cast<int>(name_.nameTxt.selStart), static_cast<int>(name_.nameTxt.selLength));
  if (name_.nameTxt.hasFocus) text_->setFocus();
}

void registerShellViews(QtDialogs& dialogs) {
  dialogs.registerView<ui::StartForm, StartView>();
  dialogs.registerView<ui::AboutForm, AboutView>();
  dialogs.registerView<core::FsOptForm, FsOptView>();
  dialogs.registerView<ui::NameForm, NameView>();
  dialogs.registerView<ui::OptionForm, OptionView>();
}

}  // namespace qt
