#include "ui/wait_form.h"

#include "core/context.h"
#include "core/errors.h"
#include "ui/main_window.h"

namespace ui {

WaitForm::WaitForm(core::Context& ctx, MainWindow& main) : ctx_(ctx), main_(main) {}

void WaitForm::Form_Load() {
  // A freshly loaded dialog starts from its designed look.
  caption = "Please wait";
  progBar = core::ProgressBar{};
  waitLbl = core::Label{"Please wait..."};
  doneLbl = core::Label{};
  okCmd = core::Button{"&OK"};
  visible = false;
  loaded = true;
  keptCommandLineInstall = ctx_.state.commandLineInstall;
  setMode(ctx_.state.progressMode);
  changed();
}

void WaitForm::setMode(core::ProgressMode mode) {
  if (mode == core::ProgressMode::Installing) {
    waitLbl.visible = true;
    waitLbl.caption = "Please wait...";
    doneLbl.visible = true;
    okCmd.visible = true;
    okCmd.enabled = false;
    progBar.visible = false;
    caption = "Installing";
  } else if (mode == core::ProgressMode::Update) {
    waitLbl.visible = true;
    waitLbl.caption = "Please wait...";
    doneLbl.visible = false;
    okCmd.visible = false;
    progBar.visible = true;
    caption = "Update";
  }
}

void WaitForm::unload() {
  // The catalogue rebuild that Form_Unload may start shows and unloads this
  // dialog itself; that inner unload is part of this one.
  if (!loaded || unloading_) return;
  unloading_ = true;
  struct Done {
    WaitForm& f;
    ~Done() {
      f.unloading_ = false;
      f.loaded = false;
      f.visible = false;
      f.changed();
    }
  } done{*this};
  Form_Unload();
}

void WaitForm::Form_Unload() {
  const core::AppState& s = ctx_.state;
  const auto kind = s.packageKind;
  const bool managerKind =
      kind == core::PackageKind::Aircraft || kind == core::PackageKind::Panel || kind == core::PackageKind::Sound;
  if (core::isOn(s.optRunManager) && managerKind) {
    if (keptCommandLineInstall) main_.setVisible(true);
    setMode(core::ProgressMode::Update);
    visible = true;
    changed();
    main_.showInstalled(kind, s.installFolderName);
  } else if (keptCommandLineInstall) {
    // A command-line run ends when the user closes its progress dialog.
    throw core::EndProgram{};
  }
}

}  // namespace ui
