#include "ui/shell_host.h"

#include "core/context.h"
#include "core/dialogs.h"
#include "ui/main_window.h"
#include "ui/name_form.h"

namespace ui {

namespace {
// The installers show the dialog without loading it first, as referring to
// a form loads it.
WaitForm& loaded(WaitForm& wait) {
  if (!wait.loaded) wait.Form_Load();
  return wait;
}
}  // namespace

void ShellHost::loadProgress() {
  loaded(main_.waitFrm);
}

void ShellHost::showProgress() {
  loaded(main_.waitFrm).visible = true;
  main_.waitFrm.changed();
}

void ShellHost::hideProgress() {
  main_.waitFrm.visible = false;
  main_.waitFrm.changed();
}

void ShellHost::repaintProgress() {
  main_.waitFrm.changed();
  ctx_.dialogs.keepPainting();
}

void ShellHost::unloadProgress() {
  main_.waitFrm.unload();
}

bool ShellHost::progressLoaded() const {
  return main_.waitFrm.loaded;
}

void ShellHost::setProgressMessage(const std::string& waitLbl) {
  loaded(main_.waitFrm).waitLbl.caption = waitLbl;
  main_.waitFrm.changed();
}

void ShellHost::setProgressCounter(const std::string& doneLbl) {
  loaded(main_.waitFrm).doneLbl.caption = doneLbl;
  main_.waitFrm.changed();
}

void ShellHost::setProgressBar(int max, int value) {
  auto& bar = loaded(main_.waitFrm).progBar;
  bar.max = max;
  bar.value = value;
  main_.waitFrm.changed();
}

void ShellHost::enableProgressOk() {
  loaded(main_.waitFrm).okCmd.enabled = true;
  main_.waitFrm.changed();
}

void ShellHost::hideMainWindow() {
  main_.setVisible(false);
}

void ShellHost::showMainWindow() {
  main_.setVisible(true);
}

void ShellHost::setMainWindowEnabled(bool enabled) {
  main_.setEnabled(enabled);
}

void ShellHost::repaintMainWindow() {
  main_.changed();
  ctx_.dialogs.keepPainting();
}

void ShellHost::setBusyCursor(bool busy) {
  busy_ = busy;
  main_.changed();
}

void ShellHost::showNamePrompt() {
  NameForm prompt(ctx_);
  ctx_.dialogs.runModal(prompt);
}

}  // namespace ui
